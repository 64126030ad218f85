#!/usr/bin/env bash
# Builds the libFuzzer target for FormatFixedWidth with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs it for a while from the seed corpus.
#
#   scripts/fuzz.sh [seconds] [build-dir]      (defaults: 60, build-fuzz)
#
# New inputs go to <build-dir>/fuzz-corpus, crashes to <build-dir>/fuzz-artifacts/; the exit
# status is the fuzzer's (non-zero when it found something).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-60}
build=${2:-"$root/build-fuzz"}
case "$build" in /*) ;; *) build="$PWD/$build" ;; esac

cmake -S "$root" -B "$build" \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTAVRIN21_FUZZ=ON -DTAVRIN21_SANITIZE=ON -DTAVRIN21_BUILD_BENCH=OFF
cmake --build "$build" --target format_fixed_width_fuzz -j2

mkdir -p "$build/fuzz-corpus" "$build/fuzz-artifacts"
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# The first folder receives what the fuzzer learns; the seeds in the tree stay as they are.
"$build/bin/format_fixed_width_fuzz" \
    -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$build/fuzz-artifacts/" \
    "$build/fuzz-corpus" "$root/tests/fuzz/corpus/format_fixed_width"
