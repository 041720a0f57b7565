#!/usr/bin/env bash
# Installs what is missing (test tools too), builds, and runs every test offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
scripts/build.sh -DTESSAVOR_WERROR=ON
export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure -j"$(nproc)"
