#!/usr/bin/env bash
# Installs what is missing, then builds the Debian packages as Debian does (dpkg-buildpackage
# -us -uc: the source package and the binary ones, on a copy of the source tree so that the
# checkout stays as it was) and checks them with lintian. They land in the output folder:
#   scripts/package.sh [output folder, build/deb by default]
#   sudo apt-get install ./build/deb/tessavor_*.deb
# DEB_BUILD_OPTIONS is Debian's: "nocheck" skips the tests, "parallel=N" builds on N cores.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh package
out=$(realpath -m "${1:-build/deb}")
rm -rf "$out"
mkdir -p "$out/tessavor"
# Neither the build folders nor the output folder, if under the tree, are sources.
excludes=(--exclude=./.git --exclude='./build*' --exclude='./obj-*')
inside=$(realpath -m --relative-to=. "$out")
[[ $inside == ../* ]] || excludes+=(--exclude="./$inside")
tar -c "${excludes[@]}" . | tar -x -C "$out/tessavor"
(cd "$out/tessavor" && dpkg-buildpackage -us -uc)
# The copy and its build folder are kept only when the build fails, to look into.
rm -rf "$out/tessavor"
lintian --fail-on error,warning "$out"/tessavor_*.changes
ls "$out"/*.deb
