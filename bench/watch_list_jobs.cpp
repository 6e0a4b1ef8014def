// (f) `korvel-cli breed --watch-list` from process start to the table, on a
// database whose watch list holds the 13 bundled real stocks (with --jobs 1
// and --jobs 2, so one run gives the ratio) or those and 37 synthetic
// random-walk stocks of 1200 bars (50 stocks, --jobs 2). Short runs: seed 7,
// search depth 10, nothing saved, so every repetition breeds the same.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "bench_data.h"
#include "run_quietly.h"
#include "datastore/program_version.h"

namespace {

struct WatchedDatabase {
    bench_data::BenchDatabase data;
    explicit WatchedDatabase(size_t stocks) {
        std::vector<std::pair<std::string, std::string>> list = bench_data::RealStocks();
        for (const auto& [market, code] : list) data.ImportReal(market, code);
        for (uint32_t i = 0; list.size() < stocks; ++i) {
            const std::string code = std::to_string(900001 + i);
            data.AddSynthetic("SZ", code, 1200, 100 + i);
            list.emplace_back("SZ", code);
        }
        for (const auto& [market, code] : list)
            data.db().Exec("INSERT INTO SECRET(MARKET, CODE, VRSN) VALUES(?, ?, ?)",
                           {market, code, static_cast<int64_t>(version::kNumber)});
    }
};

WatchedDatabase& Database(size_t stocks) {
    static std::unique_ptr<WatchedDatabase> real, fifty;
    std::unique_ptr<WatchedDatabase>& d = stocks <= 13 ? real : fifty;
    if (!d) d = std::make_unique<WatchedDatabase>(stocks);
    return *d;
}

// Arguments: stocks on the watch list, processes at a time.
void WatchListJobs(benchmark::State& state) {
    const auto stocks = static_cast<size_t>(state.range(0));
    const std::string dir = Database(stocks).data.dir().string();
    for (auto _ : state) {
        if (RunQuietly({KORVEL_CLI_PATH, "--dir", dir, "breed", "--watch-list", "--jobs",
                        std::to_string(state.range(1)), "--seed", "7", "--depth", "10"}) != 0) {
            state.SkipWithError("korvel-cli breed --watch-list failed");
            return;
        }
    }
    state.counters["stocks"] = static_cast<double>(stocks);
}
BENCHMARK(WatchListJobs)
    ->Args({13, 1})
    ->Args({13, 2})
    ->Args({50, 2})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
