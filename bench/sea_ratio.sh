#!/bin/sh
# Runs bench/sea_bench.cpp and prints the time to synthesise one hour of sea
# at 100 Hz as a ratio to one FFT of that length, and thirty minutes at 50 Hz
# at second order as a ratio to the same sea at first order, each measured in
# the same run. It runs on one core (taskset) so that the figures are a core's.
# usage: bench/sea_ratio.sh [BUILD_DIR]   (a -DONDARIX_BENCH=ON Release build)
set -eu
build=${1:-build-bench}
ONDARIX_FFT_THREADS=1 taskset -c 0 "$build/bench/sea_bench" --benchmark_format=csv --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true 2>/dev/null |
    awk -F, '/_median"/ { gsub(/"/, "", $1); sub(/_median/, "", $1); t[$1] = $4 }
        END {
            printf "FFT of 360000        %8.2f ms\n", t["BM_FftOneHour"]
            printf "one hour of sea      %8.2f ms  %5.2f x FFT\n", t["BM_SynthesiseOneHour"],
                t["BM_SynthesiseOneHour"] / t["BM_FftOneHour"]
            printf "30 min at 50 Hz, 1st %8.2f ms\n", t["BM_HalfHourOfOrder/1"]
            printf "30 min at 50 Hz, 2nd %8.2f ms  %5.1f x first order\n", t["BM_HalfHourOfOrder/2"],
                t["BM_HalfHourOfOrder/2"] / t["BM_HalfHourOfOrder/1"]
        }'
