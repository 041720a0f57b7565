#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tessavor on the bundled knowledge base.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
scripts/build.sh
exec build/bin/tessavor
