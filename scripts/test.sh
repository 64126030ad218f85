#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test.
# The database suites run against SQLite files and a PostgreSQL server: TAVRIN21_PG_CONNECT when
# it is set, else a throwaway server this script starts (scripts/pg-server.sh, port
# TAVRIN21_PG_PORT) and stops again. Tests that still skip are listed in the last lines.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build_dir=${BUILD_DIR:-build}
# The demo builds without tests into the same folder: turn them on again.
BUILD_DIR=$build_dir bash scripts/build.sh -DTAVRIN21_BUILD_TESTS=ON "$@"

if [[ -z ${TAVRIN21_PG_CONNECT:-} ]]; then
    if bash scripts/pg-server.sh available; then
        trap 'bash scripts/pg-server.sh stop' EXIT
        eval "$(bash scripts/pg-server.sh start)"
    else
        echo "test: no PostgreSQL server binaries; the PostgreSQL cases will be skipped" >&2
    fi
fi

log=$(mktemp)
status=0
ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)" | tee "$log" || status=$?

skipped=$(grep -c '\*\*\*Skipped' "$log" || true)
if ((skipped > 0)); then
    echo
    echo "test: $skipped test(s) skipped, not passed:"
    grep '\*\*\*Skipped' "$log" | sed -E 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: ([^ ]+) .*/  \1/'
    echo "test: set TAVRIN21_PG_CONNECT or install the PostgreSQL server to run them"
fi
rm -f -- "$log"
exit "$status"
