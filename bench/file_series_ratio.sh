#!/bin/sh
# Times `ondarix-batch waves` on 50 records in one run against 50 runs of one
# record each, and prints the one run's wall time as a ratio to the single
# runs' (the workers should bring it to 0.6 or less on two cores).
# usage: bench/file_series_ratio.sh [BUILD_DIR]   (a Release build)
set -eu
build=${1:-build}
batch="$build/batch/ondarix-batch"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
# Fifty two-hour seas at 50 Hz (360,000 samples: the analysis, not the start of
# a process, takes most of a single run), each of its own seed.
i=0
while [ $i -lt 50 ]; do
    "$batch" sea --spectrum jonswap --hm0 0.1 --tp 1.6 --depth 0.6 --paddle piston \
        --duration 7200 --seed $((i + 1)) -o "$dir/sea$(printf %02d $i).INT" >/dev/null
    i=$((i + 1))
done
now() { date +%s.%N; }
start=$(now)
for f in "$dir"/sea*.INT; do
    "$batch" waves "$f" --json >/dev/null
done
single=$(now)
"$batch" waves "$dir"/sea*.INT --table "$dir/table.csv"
series=$(now)
echo "$start $single $series" | awk '{
    s = $2 - $1; t = $3 - $2
    printf "50 single runs   %7.2f s\none run of 50    %7.2f s  %5.2f of the single runs\n", s, t, t / s
}'
