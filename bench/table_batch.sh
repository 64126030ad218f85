#!/usr/bin/env bash
# The whole program on a batch of table-method items: tavrin21-host calc with csv output to a
# file, timed, on an SQLite library and (when TAVRIN21_PG_CONNECT names a server) on the same
# library in a schema of its own on that server, meant for the throwaway server of
# scripts/pg-server.sh. The library: 1,000 parts in one environment, four points each. Each
# library is run with every --lookahead of LOOKAHEADS, one after the other, and their results
# must be the same.
#
#   [LOOKAHEADS="256 0"] bash bench/table_batch.sh [BUILD_DIR (build-rel)] [ITEMS (100000)]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-rel}
items=${2:-100000}
lookaheads=${LOOKAHEADS:-256 0}
host=$build/bin/tavrin21-host
work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT

awk 'BEGIN {
    print "PartNumber,EnvCode,MinTemperature,MaxTemperature" > "'"$work"'/FRTable.csv"
    print "PartNumber,EnvCode,Slot,Temperature,Rate" > "'"$work"'/FRTablePoint.csv"
    for (p = 0; p < 1000; ++p) {
        printf "BATCH-%05d,1,-55,125\n", p > "'"$work"'/FRTable.csv"
        for (s = 0; s < 4; ++s)
            printf "BATCH-%05d,1,%d,%d,%.6g\n", p, s, 25 * (s + 1), 0.001 * (p % 7 + 1) * (s + 1) \
                > "'"$work"'/FRTablePoint.csv"
    }
    print "PartNumber,EnvironmentCode,Temperature,MethodCode,Mode"
    for (i = 0; i < '"$items"'; ++i)
        printf "BATCH-%05d,GB,%d,%d,0\n", i % 1000, 20 + i % 80, i % 2 ? 0 : 102
}' >"$work/items.csv"

run() {  # NAME CONNECT
    "$host" init-db --force "$2" >/dev/null
    for table in FRTable FRTablePoint; do
        "$host" import --db "$2" --table $table "$work/$table.csv" >/dev/null
    done
    local lookahead load start end calculated first=
    for lookahead in $lookaheads; do
        load=$(cut -d' ' -f1 /proc/loadavg)
        start=$(date +%s.%N)
        "$host" calc --items "$work/items.csv" --primary "$2" --format csv --lookahead "$lookahead" \
            --output "$work/out-$lookahead.csv"
        end=$(date +%s.%N)
        calculated=$(awk -F, 'NR > 1 && $8 == 3' "$work/out-$lookahead.csv" | wc -l)
        awk -v name="$1" -v ahead="$lookahead" -v n="$items" -v ok="$calculated" -v s="$start" \
            -v e="$end" -v load="$load" \
            'BEGIN { printf "%-10s lookahead %-4d %d items (%d calculated) in %.2f s: %.0f items/s, load %s\n",
                     name, ahead, n, ok, e - s, n / (e - s), load }'
        if [[ -n $first ]] && ! cmp -s "$work/out-$first.csv" "$work/out-$lookahead.csv"; then
            echo "$1: the results with lookahead $lookahead differ from those with $first" >&2
            exit 1
        fi
        first=${first:-$lookahead}
    done
}

run SQLite "$work/library.sqlite"
if [[ -n ${TAVRIN21_PG_CONNECT:-} ]]; then
    server=$TAVRIN21_PG_CONNECT
    [[ $server == *';' ]] || server+=';'
    run PostgreSQL "${server}ConnSettings={CREATE SCHEMA IF NOT EXISTS tavrin21_batch_bench;SET search_path TO tavrin21_batch_bench};"
fi
