// A default breed of SS 600000 through the wizard's generation page, which
// repaints its charts after every generation while the run waits, against
// the same breed by `korvel-cli breed` (process start to exit). Repetition r
// uses seed r in both, so both run the same searches; the ratio of the
// medians is the cost of the page.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QWindow>

#include "app/wizard/platform_dlg.h"
#include "app/wizard/rorozo_page.h"
#include "app/wizard/run_chart.h"
#include "bench_data.h"
#include "run_quietly.h"
#include "datastore/settings.h"
#include "gep/random.h"
#include "qt_bench_main.h"

namespace {

constexpr int kRepetitions = 10;

struct Pufa {
    bench_data::BenchDatabase data;
    SettingsMap settings;
    CDataCenter dc;
    Pufa() : dc(data.db()) {
        data.ImportReal("SS", "600000");
        LoadSettings(data.db(), settings, {});
        ApplyStartupSettings(dc.Parameters(), settings);
        dc.LoadStockList();
        dc.LoadStock("600000", "SS");
    }
};

Pufa& ThePufa() {
    static Pufa pufa;
    return pufa;
}

void WizardBreed(benchmark::State& state) {
    Pufa& pufa = ThePufa();
    const WizardContext context{pufa.data.db(), pufa.settings, pufa.dc, {}};
    static uint32_t seed = 0;  // one call per repetition: seeds 1, 2, ...
    size_t generations = 0;
    for (auto _ : state) {
        GEP::resetRandomSources();
        GEP::setClockSeedOverride(++seed);
        CPlatformDlg wizard(context);
        wizard.show();
        wizard.Next();
        auto* page = static_cast<CTheRorozoPage*>(wizard.ActivePage());
        // The page handles each generation from the event loop.
        while (page->Generating()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        generations += pufa.dc.Parameters().winRateHistory.size();
    }
    state.counters["generations"] = benchmark::Counter(static_cast<double>(generations), benchmark::Counter::kAvgIterations);
}
BENCHMARK(WizardBreed)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(kRepetitions)->UseRealTime();

// One repaint of the generation page's charts after a generation, as the
// page does it while the run waits: a picture of SS 600000 after 140
// generations of a run, the best unchanged since the last repaint.
void GenerationRepaint(benchmark::State& state) {
    Pufa& pufa = ThePufa();
    const RunParameters& params = pufa.dc.Parameters();
    RunPicture picture;
    picture.generating = true;
    picture.stock = QStringLiteral("600000 浦发银行");
    picture.trades = params.tradeLog;
    picture.range = ComputeRangeFigures(pufa.dc, params.rangeBegin, params.rangeEnd, params.tradeLog);
    for (int i = 0; i < 140; ++i) picture.winRates.push_back(0.4f + 0.01f * static_cast<float>(i / 10));
    RunChart chart(picture);
    chart.resize(640, 420);
    chart.show();
    while (!chart.windowHandle()->isExposed()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    chart.repaint();
    for (auto _ : state) {
        ++picture.stallCount;
        chart.RepaintGeneration();
    }
}
BENCHMARK(GenerationRepaint)->Unit(benchmark::kMicrosecond);

void CliBreed(benchmark::State& state) {
    const std::string dir = ThePufa().data.dir().string();
    static uint32_t seed = 0;  // one call per repetition: seeds 1, 2, ...
    for (auto _ : state) {
        if (RunQuietly({KORVEL_CLI_PATH, "--dir", dir, "breed", "SS", "600000", "--seed", std::to_string(++seed)}) != 0) {
            state.SkipWithError("korvel-cli breed failed");
            return;
        }
    }
}
BENCHMARK(CliBreed)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(kRepetitions)->UseRealTime();

}  // namespace
