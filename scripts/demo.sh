#!/usr/bin/env bash
# Installs what is missing, builds, and calculates the example items against the example
# SQLite library built beside the host program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
BUILD_DIR=build bash scripts/build.sh -DTAVRIN21_BUILD_BENCH=OFF
./build/bin/tavrin21-host calc --items examples/items.csv "$@"
