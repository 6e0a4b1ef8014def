#!/bin/sh
# Runs every benchmark program of the Release build in $1 and prints a short
# table of the figures that matter (the trader evaluation, a generation, a
# breed, LoadStock, a watch list, the CLI) with their targets. The full
# results stay in $1/bench-results/*.json.
set -eu
BUILD=${1:-build/release}
OUT="$BUILD/bench-results"
mkdir -p "$OUT"
rm -rf "$OUT"/*.json "$OUT"/*.log "$OUT"/cli-db

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //'), load average $(cut -d' ' -f1-3 /proc/loadavg)"
found=0
for bench in "$BUILD"/bench/bench_*; do
    [ -x "$bench" ] || continue
    found=1
    name=$(basename "$bench")
    echo "running $name ..."
    if ! "$bench" --benchmark_out="$OUT/$name.json" --benchmark_out_format=json >/dev/null 2>"$OUT/$name.log"; then
        cat "$OUT/$name.log"
        exit 1
    fi
done
[ "$found" -eq 1 ] || { echo "no benchmarks built"; exit 1; }
# The CLI once more with hyperfine, where it is installed.
CLI_COMMAND="$BUILD/korvel-cli --dir $OUT/cli-db breed SS 600000 --seed 7"
if command -v hyperfine >/dev/null 2>&1 && [ -x "$BUILD/bench/bench_cli_breed" ]; then
    echo "running hyperfine ..."
    "$BUILD/bench/bench_cli_breed" --make-database "$OUT/cli-db"
    hyperfine -N --warmup 3 --runs 30 --export-json "$OUT/hyperfine.json" "$CLI_COMMAND" >/dev/null 2>"$OUT/hyperfine.log"
fi
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"

# Flatten every result to "name|key|value" (times in microseconds), then
# look the figures up by name.
for f in "$OUT"/bench_*.json; do
    awk '
        /^    \{/ { delete kv }
        /^      "[^"]+": / {
            key = $0; sub(/^ *"/, "", key); sub(/".*/, "", key)
            val = $0; sub(/^[^:]*: /, "", val); sub(/,$/, "", val); gsub(/"/, "", val)
            kv[key] = val
        }
        /^    \}/ {
            scale = kv["time_unit"] == "ns" ? 0.001 : kv["time_unit"] == "ms" ? 1000 : kv["time_unit"] == "s" ? 1e6 : 1
            kv["real_us"] = kv["real_time"] * scale
            kv["cpu_us"] = kv["cpu_time"] * scale
            for (k in kv) print kv["name"] "|" k "|" kv[k]
        }' "$f"
done | awk -F'|' '
    { v[$1 "|" $2] = $3 }
    function get(name, key) { return (name "|" key) in v ? v[name "|" key] : "" }
    function t(us) {
        if (us == "") return "-"
        if (us >= 1e6) return sprintf("%.2f s", us / 1e6)
        if (us >= 1000) return sprintf("%.1f ms", us / 1000)
        return sprintf("%.1f us", us)
    }
    function ratio(a, b) { return (a == "" || b == "" || b == 0) ? "-" : sprintf("%.0fx", a / b) }
    function row(label, value, note) { printf "%-48s %12s   %s\n", label, value, note }
    END {
        print ""
        printf "%-48s %12s   %s\n", "benchmark", "time", "notes"
        print "-------------------------------------------------------------------------------------------"
        ref = get("PopulationFitness/reference", "real_us"); fast = get("PopulationFitness/fast", "real_us")
        row("(a) fitness of 100 traders x 959 cases, record", t(ref), "")
        row("(a) the same, bit-parallel (no cache)", t(fast), "ratio " ratio(ref, fast) " (target >= 100x)")
        ref = get("Generation/reference", "real_us"); fast = get("Generation/fast", "real_us")
        row("(b) one generation, bit-parallel", t(fast), "target < 100 us; record by record " t(ref) ", ratio " ratio(ref, fast))
        row("    the engine alone (fitness written)", t(get("RunGeneration", "real_us")), "selection, copies, operators")
        f = "Breed/fast/iterations:1/repeats:15"; r = "Breed/reference/iterations:1/repeats:3"
        fg = get(f "_mean", "generations"); rg = get(r "_mean", "generations")
        fpg = fg > 0 ? get(f "_mean", "real_us") / fg : ""; rpg = rg > 0 ? get(r "_mean", "real_us") / rg : ""
        row("(c) default breed of SS 600000, median of 15", t(get(f "_median", "real_us")),
            "target < 50 ms; " sprintf("%.0f", get(f "_median", "generations")) " generations (median); series seen before " sprintf("%.0f%%", get(f "_mean", "seen_%")))
        row("    record by record, median of 3", t(get(r "_median", "real_us")), "per generation " t(rpg) " vs " t(fpg) ", ratio " ratio(rpg, fpg))
        row("(d) LoadStock with indicators (1200 bars)", t(get("BM_LoadStock", "real_us")), "")
        w = "WatchListBreeds/iterations:1/repeats:3/real_time"
        row("(e) 50 stocks bred one after another, median", t(get(w "_median", "real_us")),
            sprintf("%.0f generations in all", get(w "_median", "generations")))
        j = "WatchListJobs/%s/iterations:1/repeats:3/real_time_median"
        one = get(sprintf(j, "13/1"), "real_us"); two = get(sprintf(j, "13/2"), "real_us")
        row("(f) breed --watch-list, 13 stocks, --jobs 2", t(two),
            "--jobs 1 " t(one) ", ratio " (two > 0 ? sprintf("%.2f", one / two) : "-") " (depth 10, median of 3)")
        row("    50 stocks, --jobs 2", t(get(sprintf(j, "50/2"), "real_us")), "end to end, depth 10")
        f = "CliBreed/fast/iterations:1/repeats:20/real_time"; r = "CliBreed/reference/iterations:1/repeats:3/real_time"
        row("korvel-cli breed SS 600000, median of 20 runs", t(get(f "_median", "real_us")),
            "target < 0.3 s; --evaluator reference " t(get(r "_median", "real_us")) ", ratio " ratio(get(r "_median", "real_us"), get(f "_median", "real_us")))
    }'
if [ -f "$OUT/hyperfine.json" ]; then
    # hyperfine's times are in seconds.
    figure() { grep -m1 "\"$1\"" "$OUT/hyperfine.json" | sed 's/.*: *//; s/,$//'; }
    awk -v median="$(figure median)" -v mean="$(figure mean)" -v sd="$(figure stddev)" 'BEGIN {
        printf "%-48s %12s   %s\n", "korvel-cli breed ... --seed 7, hyperfine", sprintf("%.1f ms", median * 1000),
               sprintf("median of 30; mean %.1f ms +- %.1f ms", mean * 1000, sd * 1000) }'
fi
echo
echo "full results: $OUT/*.json"
