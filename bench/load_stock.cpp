// LoadStock of a real stock: the newest 1200 of 5259 stored days of SS 600000,
// with its dividend records, adjusted and run through all seven indicator
// generators. Target: under 1 ms per load.
#include <benchmark/benchmark.h>

#include "bench_data.h"
#include "datastore/data_center.h"

namespace {

void BM_LoadStock(benchmark::State& state) {
    bench_data::BenchDatabase store;
    store.ImportReal("SS", "600000");
    CDataCenter dc(store.db());
    for (auto _ : state) {
        if (!dc.LoadStock("600000", "SS")) {
            state.SkipWithError("LoadStock failed");
            break;
        }
        benchmark::DoNotOptimize(dc.Dates().data());
    }
    state.counters["bars"] = static_cast<double>(dc.Dates().size());
}
BENCHMARK(BM_LoadStock)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
