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

# One wine server for the whole run: left to itself it exits a few seconds after its last program,
# and a test starting just then is refused ("recvmsg: Connection reset by peer").
mkdir -p "$WINEPREFIX"
wineserver -p
wineboot --init 2>/dev/null
# The library-file tests' drives: R: (their current drive) and D:, below the scratch root.
for drive in r d; do
    mkdir -p "$TAVRIN21_SCRATCH_ROOT/drive-$drive"
    ln -sfn "$TAVRIN21_SCRATCH_ROOT/drive-$drive" "$WINEPREFIX/dosdevices/$drive:"
done
# Windows' installer library lists the drivers of the registry, not those of unixODBC's lists:
# the tests' drivers, by the names their own odbcinst.ini gives them, in its order (Wine's
# ODBC32 hands every connection to unixODBC, so the DLLs named are never loaded).
cat >"$scratch/drivers.reg" <<'REG'
REGEDIT4

[HKEY_LOCAL_MACHINE\Software\ODBC\ODBCINST.INI\ODBC Drivers]
"SQLite3"="Installed"
"Microsoft Access Driver (*.mdb)"="Installed"

[HKEY_LOCAL_MACHINE\Software\ODBC\ODBCINST.INI\SQLite3]
"Driver"="sqlite3odbc.dll"

[HKEY_LOCAL_MACHINE\Software\ODBC\ODBCINST.INI\Microsoft Access Driver (*.mdb)]
"Driver"="odbcjt32.dll"
REG
wine regedit /S "$scratch/drivers.reg"
status=0
ctest --test-dir "$build_dir" -j"${JOBS:-2}" --output-on-failure "$@" || status=$?

# Why each skipped test did not run here, as the test said it.
echo "Skipped under Wine, and why:"
grep -A1 ': Skipped$' "$build_dir/Testing/Temporary/LastTest.log" |
    grep -v -e '^--$' -e ': Skipped$' | sort | uniq -c || true
exit "$status"
