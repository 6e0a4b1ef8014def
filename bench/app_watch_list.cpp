// Filling the watch list with 100 stored strategies: the strategy query, the
// two newest bars of each stock and the thirteen cells of each row. Target:
// at most 30 ms.
#include <benchmark/benchmark.h>

#include "app/watch_list_model.h"
#include "bench_data.h"
#include "datastore/program_version.h"
#include "qt_bench_main.h"

namespace {

void BM_FillWatchList(benchmark::State& state) {
    bench_data::BenchDatabase store;
    for (int i = 0; i < 100; ++i) {
        const std::string code = std::to_string(700000 + i);
        store.AddSynthetic("SS", code, 1200, static_cast<uint32_t>(i));
        store.db().Exec("INSERT INTO SECRET(MARKET, CODE, VRSN, INDI) VALUES('SS', ?, ?, 'x')",
                        {code, version::kNumber});
    }
    WatchListModel model;
    for (auto _ : state) {
        model.Fill(store.db());
        benchmark::DoNotOptimize(model.rowCount());
    }
    if (model.rowCount() != 100) state.SkipWithError("the list does not hold 100 rows");
    state.counters["rows"] = model.rowCount();
}
BENCHMARK(BM_FillWatchList)->Unit(benchmark::kMillisecond);

}  // namespace
