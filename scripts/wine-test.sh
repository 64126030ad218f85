#!/usr/bin/env bash
# Runs the tests of the x86-64 Windows build (scripts/windows-build.sh x86_64) under 64-bit Wine,
# headless, in a Wine prefix of its own that is removed afterwards. Arguments go to ctest.
# Windows' ODBC32 under Wine hands connections to the machine's unixODBC drivers, so the tests
# reach the same SQLite and PostgreSQL drivers as on Linux.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build-win64}

scratch=$(mktemp -d)
export WINEPREFIX=$scratch/prefix WINEDEBUG=-all
# Without the debugger a crash ends the program with a non-zero exit code; with it, with 0.
export WINEDLLOVERRIDES="winedbg.exe=d"
unset DISPLAY
# The tests' scratch databases lie below a Unix path: Windows programs under Wine read it as a
# path on the current drive, and the Linux drivers behind Wine's ODBC32 read it as it is.
export TAVRIN21_SCRATCH_ROOT=$scratch/tmp
mkdir -p "$TAVRIN21_SCRATCH_ROOT"
cleanup() {
    wineserver -k 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

wineboot --init 2>/dev/null
status=0
ctest --test-dir "$build_dir" -j"${JOBS:-2}" --output-on-failure "$@" || status=$?

# Why each skipped test did not run here, as the test said it.
echo "Skipped under Wine, and why:"
grep -A1 ': Skipped$' "$build_dir/Testing/Temporary/LastTest.log" |
    grep -v -e '^--$' -e ': Skipped$' | sort | uniq -c || true
exit "$status"
