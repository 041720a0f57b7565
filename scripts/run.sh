#!/usr/bin/env bash
# Installs what is missing, builds the program (only what it needs), and starts Tessavor on
# the bundled knowledge base.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
# A configured build folder reconfigures itself when a CMakeLists.txt changed.
[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target tessavor -j"$(nproc)"
exec build/bin/tessavor
