#!/usr/bin/env bash
# Installs what is missing, builds, and runs the benchmark suite (prints a table).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
for b in build/bench/bench_*; do
  [ -x "$b" ] && "$b" "$@"
done
