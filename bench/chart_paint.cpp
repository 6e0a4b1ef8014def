// The chart of SS 600000 (1200 bars loaded) drawn at 1280 x 800 with MA,
// VOL and trade marks, offscreen: one full paint, and one cross-hair move
// with the repaint it causes, at zoom 100 and zoom 1000.
// Targets: each at most 5 ms.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <mutex>

#include "bench_data.h"
#include "chart/paint/chart.h"
#include "chart/paint/chinese_fonts.h"
#include "datastore/data_center.h"

namespace {

const QSize kClient(1280, 800);

// A data center holding SS 600000 with signals that change often (held
// while the close is above its 5-day average), so marks appear throughout.
struct ChartData {
    ChartData() {
        store.ImportReal("SS", "600000");
        if (!dc.LoadStock("600000", "SS")) throw std::runtime_error("LoadStock failed");
        const std::vector<float> aboveAverage = dc.GetAllConditions()[0];
        std::lock_guard lock(dc.DataLock());
        dc.Signals().assign(aboveAverage.begin(), aboveAverage.end());
    }
    bench_data::BenchDatabase store;
    CDataCenter dc{store.db()};
};

ChartData& Data() {
    static ChartData data;
    return data;
}

void SetUp(CChart& chart, int count) {
    ChartState state;
    state.requestedCount = count;
    state.mainIndicator = "MA";
    chart.Apply(state, kClient);
}

void BM_ChartPaint(benchmark::State& state) {
    CChart chart(Data().dc);
    SetUp(chart, static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(chart.Paint(kClient).constBits());
    state.counters["bars shown"] = chart.Screen().shownCount;
}
BENCHMARK(BM_ChartPaint)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_CrossHairMove(benchmark::State& state) {
    CChart chart(Data().dc);
    SetUp(chart, static_cast<int>(state.range(0)));
    chart.Paint(kClient);
    int step = 0;
    for (auto _ : state) {
        // Across the plot and back, as a mouse sweeps over the chart.
        const QPoint mouse(100 + (step * 37) % 1100, 100 + (step * 13) % 600);
        ++step;
        if (chart.MoveCrossHair(mouse, kClient)) benchmark::DoNotOptimize(chart.Paint(kClient).constBits());
    }
}
BENCHMARK(BM_CrossHairMove)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    InstallChineseFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
