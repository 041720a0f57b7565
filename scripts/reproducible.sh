#!/usr/bin/env bash
# Builds the Debian package twice, in two folders of different lengths, in another time
# zone, locale and umask the second time, and checks that the packages are byte-identical.
# Run by hand (each build takes minutes); DEB_BUILD_OPTIONS is passed on ("nocheck" by
# default: the tests change nothing in the package).
set -euo pipefail
cd "$(dirname "$0")/.."
export DEB_BUILD_OPTIONS=${DEB_BUILD_OPTIONS:-"nocheck parallel=$(nproc)"}
# A compiler cache would hand the second build the first one's objects.
unset CMAKE_CXX_COMPILER_LAUNCHER CCACHE_DIR
first=build/reproducible/a
second=build/reproducible/second-build-elsewhere
(umask 0022 && TZ=UTC LC_ALL=C scripts/package.sh "$first" >/dev/null)
(umask 0002 && TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 scripts/package.sh "$second" >/dev/null)
status=0
for deb in "$first"/*.deb; do
  name=$(basename "$deb")
  if cmp -s "$deb" "$second/$name"; then
    echo "identical: $name ($(sha256sum <"$deb" | cut -c1-16))"
  else
    echo "DIFFERENT: $name (diffoscope $deb $second/$name shows where)"
    status=1
  fi
done
exit $status
