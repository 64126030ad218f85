#!/usr/bin/env bash
# Installs what is missing, builds only what the demo runs (the host program, the module, the
# host library and the example library; no tests, no benchmarks), and calculates the example
# items against the example SQLite library. The build's output goes to a log file, shown only
# when the build fails. Extra arguments go to the calc command (e.g. --format csv).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
mkdir -p "$build_dir"
log=$build_dir/demo-build.log
: >"$log"

fail() {
    cat "$log" >&2
    echo "demo: $1 failed; its output is above and in $log" >&2
    exit 1
}

bash scripts/install-deps.sh >>"$log" 2>&1 || fail "installing the dependencies"
started=$SECONDS
{
    cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
        -DTAVRIN21_BUILD_TESTS=OFF -DTAVRIN21_BUILD_BENCH=OFF &&
        cmake --build "$build_dir" -j"$(nproc)" --target tavrin21-host tavrin21_plugin tavrin21_morvik example_library
} >>"$log" 2>&1 || fail "the build"
echo "Built tavrin21-host, tavrin21.so, libmorvik.so and library.sqlite in $build_dir/bin" \
    "($((SECONDS - started)) s; build log: $log)"
echo
"./$build_dir/bin/tavrin21-host" calc --items examples/items.csv "$@"
