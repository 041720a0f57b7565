#!/usr/bin/env bash
# Installs what is missing (test tools too), builds, and runs every test offscreen; then builds
# the fuzz targets with clang in build-fuzz/ and runs each for a minute (the CTest label
# "fuzz"). Set TESSAVOR_FUZZ_SECONDS to run them longer, or to 0 to skip them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
scripts/build.sh -DTESSAVOR_WERROR=ON
export QT_QPA_PLATFORM=offscreen
(cd build && ctest --output-on-failure -j"$(nproc)")

seconds=${TESSAVOR_FUZZ_SECONDS:-60}
[ "$seconds" -gt 0 ] || exit 0
scripts/deps.sh fuzz
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSAVOR_FUZZ=ON \
  -DTESSAVOR_FUZZ_SECONDS="$seconds" >/dev/null
cmake --build build-fuzz --target tessavor_fuzz -j"$(nproc)"
# An input that crashed or hung a target stays in build-fuzz/fuzz/artifacts/<target>/.
cd build-fuzz && ctest -L fuzz --output-on-failure -j"$(nproc)"
