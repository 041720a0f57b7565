#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build, the program or the tests need
# and the machine lacks. Usage: scripts/deps.sh [run|test|package|screenshot|fuzz]
set -euo pipefail

packages=(cmake g++ make pkg-config qt6-base-dev qt6-svg-dev libqt6svg6 libqt6sql6-sqlite libsqlite3-dev sqlite3
          libgl-dev fonts-liberation fonts-dejavu-core qt6-translations-l10n
          mdbtools-dev libmdb3 # libmdb reads practitioners' Access bases for the import
          libcups2-dev) # the report is handed to the print spooler through libcups
case "${1:-run}" in
  run) ;;
  # The tests check the installed tree and the Debian package too.
  # The printing test runs a spooler of its own with a CUPS-PDF printer.
  test) packages+=(libbenchmark-dev poppler-utils desktop-file-utils appstream file dpkg-dev cups
                   printer-driver-cups-pdf) ;;
  # CPack's dependency step reads the program with dpkg-shlibdeps.
  package) packages+=(file dpkg-dev) ;;
  screenshot) packages+=(xvfb xdotool imagemagick) ;;
  # The fuzz targets (-DTESSAVOR_FUZZ=ON) are built by clang with its libFuzzer; the
  # symbolizer names the frames of a crash.
  fuzz) packages+=(clang-14 libclang-rt-14-dev llvm-14) ;;
  *) echo "usage: scripts/deps.sh [run|test|package|screenshot|fuzz]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "These Debian packages are missing: ${missing[*]}" >&2
    echo "Installing them needs root: run this script as root, or install sudo, or ask your" >&2
    echo "administrator to run: apt-get install ${missing[*]}" >&2
    exit 1
  fi
  sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
