#!/usr/bin/env bash
# The whole program on a batch of field-data items: tavrin21-host calc with csv output to a file,
# timed (wall and processor time), on an SQLite library of PARTS parts with ROWS recorded times
# each (a Weibull law of shape 1.5 and scale 1,000 after the time origin, a fifth of them
# suspended), one item a part.
#
#   bash bench/field_batch.sh [BUILD_DIR (build-rel)] [PARTS (1000)] [ROWS (50)]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-rel}
parts=${2:-1000}
rows=${3:-50}
host=$build/bin/tavrin21-host
work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT

awk -v parts="$parts" -v rows="$rows" 'BEGIN {
    srand(20261206)
    print "PartNumber,TimeNumber,EnvCode,ProcCode,FRTime,FRDate,IsCencored,Remark,ItemNumber,Tc,TimeBtw,Mtbfc,Mtbfi,GrowthRate" > "'"$work"'/PartFR.csv"
    print "PartNumber,EnvironmentCode,Temperature,MethodCode,Mode"
    for (p = 0; p < parts; ++p) {
        for (t = 1; t <= rows; ++t) {
            life = 1000 * (-log(1 - rand())) ^ (1 / 1.5)
            printf "FIELD-%05d,%d,1,0,%.2f,,%d,,,,,,,\n", p, t, 20.01 + life, t % 5 == 0 \
                > "'"$work"'/PartFR.csv"
        }
        printf "FIELD-%05d,GB,40,0,2\n", p
    }
}' >"$work/items.csv"

library=$work/library.sqlite
"$host" init-db --force "$library" >/dev/null
"$host" import --db "$library" --table PartFR "$work/PartFR.csv" >/dev/null
load=$(cut -d' ' -f1 /proc/loadavg)
TIMEFORMAT="%R %U %S"
times=$({ time "$host" calc --items "$work/items.csv" --primary "$library" --format csv \
    --output "$work/out.csv"; } 2>&1)
fitted=$(awk -F, 'NR > 1 && $8 == 3 && $10 != ""' "$work/out.csv" | wc -l)
read -r wall user system <<<"$times"
awk -v n="$parts" -v rows="$rows" -v ok="$fitted" -v wall="$wall" -v cpu="$(echo "$user + $system" | bc)" \
    -v load="$load" 'BEGIN {
    printf "%d parts x %d rows, %d fitted: %.2f s wall, %.2f s processor: %.0f items/s, %.0f items per processor-second, load %s\n",
           n, rows, ok, wall, cpu, n / wall, n / cpu, load }'
