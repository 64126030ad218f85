#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test.
# Database tests also run against PostgreSQL when TAVRIN21_PG_CONNECT holds a connect string.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build_dir=${BUILD_DIR:-build}
BUILD_DIR=$build_dir bash scripts/build.sh "$@"
ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)"
