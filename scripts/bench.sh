#!/bin/sh
# Runs every benchmark program of the Release build in $1.
set -eu
BUILD=${1:-build/release}
found=0
for bench in "$BUILD"/bench/bench_*; do
    [ -x "$bench" ] || continue
    found=1
    echo "== $(basename "$bench")"
    "$bench" --benchmark_counters_tabular=true
done
[ "$found" -eq 1 ] || echo "no benchmarks built"
