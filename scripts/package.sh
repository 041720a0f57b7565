#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package build/tessavor_<version>_<arch>.deb.
# Install it with: sudo apt-get install ./build/tessavor_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh package
scripts/build.sh "$@"
cd build
cpack -G DEB
