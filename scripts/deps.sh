#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build, the program or the tests need
# and the machine lacks. Usage: scripts/deps.sh [run|test]
set -euo pipefail

packages=(cmake g++ make pkg-config qt6-base-dev qt6-svg-dev libqt6svg6 libqt6sql6-sqlite libsqlite3-dev sqlite3
          libgl-dev fonts-liberation fonts-dejavu-core qt6-translations-l10n
          mdbtools-dev libmdb3) # libmdb reads practitioners' Access bases for the import
if [ "${1:-run}" = test ]; then
  packages+=(libbenchmark-dev poppler-utils)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
