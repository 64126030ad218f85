#!/usr/bin/env bash
# The Windows part of continuous integration: installs the cross compilers and Wine if missing,
# builds the 32-bit tavrin21.dll and checks its binary contract, then builds the same sources
# for 64-bit Windows and runs the tests under Wine. The PostgreSQL cases run when
# TAVRIN21_PG_CONNECT names a server (as .ci/run provides); otherwise they are skipped.
set -euo pipefail
cd "$(dirname "$0")/.."

step() { printf '\n==== %s ====\n' "$*"; }

step "Windows: cross compilers and Wine"
bash scripts/install-windows-deps.sh

step "Windows: 32-bit tavrin21.dll"
bash scripts/windows-build.sh i686

step "Windows: binary contract of tavrin21.dll"
bash scripts/check-windows-dll.sh build-win32/bin

step "Windows: tests of the 64-bit build under Wine"
bash scripts/windows-build.sh x86_64
bash scripts/wine-test.sh
