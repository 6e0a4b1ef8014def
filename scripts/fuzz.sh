#!/bin/sh
# Builds the libFuzzer targets of fuzz/ with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) in build/fuzz and runs each for FUZZ_SECONDS
# seconds (default 600) at the lowest priority, FUZZ_JOBS targets at a time
# (default 1). FUZZ_TARGETS names the targets to run (default: every
# fuzz/*.cpp). Each corpus grows in build/fuzz/corpus/NAME from the seeds in
# fuzz/seeds/NAME; an input that crashes, hangs (10 s) or allocates more than
# 512 MB at once is kept in build/fuzz/findings/NAME; logs in build/fuzz/logs.
# Prints one summary line per target; exits 1 when a target found something.
set -eu
BUILD=build/fuzz
SECONDS_EACH=${FUZZ_SECONDS:-600}
JOBS=${FUZZ_JOBS:-1}
TARGETS=${FUZZ_TARGETS:-$(for f in fuzz/*.cpp; do basename "$f" .cpp; done)}

mkdir -p "$BUILD/logs"
run_target() {
    t=$1
    mkdir -p "$BUILD/corpus/$t" "$BUILD/findings/$t" "fuzz/seeds/$t"
    dict=""
    case "$t" in *_reply) dict="-dict=fuzz/xml.dict" ;; esac
    # -close_fd_mask=1: the readers' own prints to stdout are noise here.
    # shellcheck disable=SC2086
    nice -n 19 "$BUILD/fuzz/fuzz_$t" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 \
        -malloc_limit_mb=512 -max_len=65536 -close_fd_mask=1 -print_final_stats=1 $dict \
        -artifact_prefix="$BUILD/findings/$t/" "$BUILD/corpus/$t" "fuzz/seeds/$t" \
        >"$BUILD/logs/$t.log" 2>&1 || true
}
if [ "${1:-}" = --one ]; then
    run_target "$2"
    exit 0
fi

command -v clang++ >/dev/null 2>&1 || { echo "fuzz: clang++ is needed (Debian package clang)"; exit 1; }
if [ ! -f "$BUILD/build.ninja" ]; then
    cmake -S . -B "$BUILD" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
          -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DKORVEL_SANITIZE=ON -DKORVEL_FUZZ=ON -DKORVEL_TESTS=OFF
fi
# shellcheck disable=SC2046
cmake --build "$BUILD" -j 2 --target $(for t in $TARGETS; do printf 'fuzz_%s ' "$t"; done)

# FUZZ_JOBS targets at a time, each run by this script's --one mode.
printf '%s\n' $TARGETS | xargs -P "$JOBS" -n 1 "$0" --one

status=0
printf '%-20s %12s %8s %8s %8s  %s\n' target executions exec/s cov corpus findings
for t in $TARGETS; do
    log="$BUILD/logs/$t.log"
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    corpus=$(find "$BUILD/corpus/$t" -type f | wc -l)
    found=$(find "$BUILD/findings/$t" -type f | wc -l)
    [ "$found" -eq 0 ] || status=1
    printf '%-20s %12s %8s %8s %8s  %s\n' "$t" "${runs:--}" "${speed:--}" "${cov:--}" "$corpus" "$found"
done
exit $status
