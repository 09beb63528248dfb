#!/bin/sh
# Runs bench/waves_bench.cpp and prints each wave analysis's time as a ratio to
# the Fourier transform of one channel of the same 16 x 2,097,152 record.
# usage: bench/waves_ratios.sh [BUILD_DIR]   (a -DONDARIX_BENCH=ON Release build)
set -eu
build=${1:-build-bench}
"$build/bench/waves_bench" --benchmark_format=csv 2>/dev/null |
    awk -F, '/^"BM_/ { gsub(/"/, "", $1); sub(/\/min_time.*/, "", $1); t[$1] = $4; order[n++] = $1 }
        END {
            f = t["BM_FourierOneChannel"]
            for (i = 0; i < n; ++i)
                printf "%-22s %10.1f ms  %5.2f x Fourier\n", order[i], t[order[i]], t[order[i]] / f
        }'
