// (e) A watch list of 50 stocks bred one after another, as a user breeding a
// strategy for every stock of the list would: the 13 bundled real histories
// and 37 synthetic random-walk stocks of 1200 bars. Per stock: LoadStock
// (bars, adjustment, indicators), the verification range of a fresh
// program's parameters (960 days, depth 50) and a complete breed with the
// default evaluator; stock i breeds with seed i.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench_data.h"
#include "datastore/data_center.h"
#include "gep/random.h"
#include "strategy/generation_run.h"
#include "strategy/time_range.h"

namespace {

constexpr size_t kStocks = 50;

struct WatchList {
    bench_data::BenchDatabase data;
    std::vector<std::pair<std::string, std::string>> stocks = bench_data::RealStocks();

    WatchList() {
        for (const auto& [market, code] : stocks) data.ImportReal(market, code);
        for (uint32_t i = 0; stocks.size() < kStocks; ++i) {
            const std::string code = std::to_string(900001 + i);
            data.AddSynthetic("SZ", code, 1200, 100 + i);
            stocks.emplace_back("SZ", code);
        }
    }
};

void WatchListBreeds(benchmark::State& state) {
    static WatchList list;
    CDataCenter dc(list.data.db());
    double generations = 0;
    for (auto _ : state) {
        uint32_t seed = 0;
        for (const auto& [market, code] : list.stocks) {
            if (!dc.LoadStock(code, market)) {
                state.SkipWithError(("cannot load " + market + " " + code).c_str());
                return;
            }
            RunParameters& p = dc.Parameters();
            p.evoluteDays = 960;
            p.evoluteSteps = 50;
            ComputeVerificationRange(p, dc.Dates());
            GEP::resetRandomSources();
            GEP::setClockSeedOverride(++seed);
            const std::unique_ptr<GenerationRun> run = GenerationRun::Start(dc, {}, {});
            if (!run) {
                state.SkipWithError(("no fitness cases for " + market + " " + code).c_str());
                return;
            }
            run->Wait();
            generations += static_cast<double>(p.winRateHistory.size());
        }
    }
    GEP::setClockSeedOverride(std::nullopt);
    state.counters["stocks"] = static_cast<double>(list.stocks.size());
    state.counters["generations"] = benchmark::Counter(generations, benchmark::Counter::kAvgIterations);
}
BENCHMARK(WatchListBreeds)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
