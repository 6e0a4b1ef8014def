// Start-up of the desktop program to its main window shown, with the data
// server already running (as the bundled one is once started): the
// database and settings, the client code, the check for the server, the
// crash handlers, the check for a running copy, and the main window with the
// watch list filled, 000001 SS loaded and its synchronisation started,
// shown and painted. The start page is left out: it waits for the user.
// Target: at most 300 ms.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "../tests/support/run_process.h"
#include "../tests/support/server_process.h"
#include "app/korvel_app.h"
#include "app/korvel_view.h"
#include "app/main_frame.h"
#include "app/platform/embedded_server.h"
#include "bench_data.h"
#include "datastore/program_version.h"
#include "datastore/settings.h"
#include "qt_bench_main.h"

namespace {

void BM_StartToMainWindow(benchmark::State& state) {
    const std::filesystem::path work = std::filesystem::temp_directory_path() / "korvel-bench-startup";
    std::filesystem::remove_all(work);
    testing_support::RunServerCommand({"init-demo", "--data", (work / "server").string()});
    testing_support::ServerProcess server((work / "server").string(), (work / "serve.log").string());
    {
        bench_data::BenchDatabase client(work / "client");
        for (const char* code : {"600000", "600519", "600036", "600016"}) {
            client.ImportReal("SS", code);
            client.db().Exec("INSERT INTO SECRET(MARKET, CODE, VRSN) VALUES('SS', ?, ?)", {code, version::kNumber});
        }
        StoreSetting(client.db(), "HOST", server.host());
    }
    qputenv("XDG_STATE_HOME", QByteArray::fromStdString((work / "state").string()));
    const AppOptions options{work / "client", QStringLiteral("korvel-bench-startup"), false};
    for (auto _ : state) {
        auto app = std::make_unique<CKorvelApp>(options);
        if (!SomethingAnswers("127.0.0.1", server.port(), 300) || !app->InitInstance()) {
            state.SkipWithError("start-up failed");
            break;
        }
        QApplication::processEvents();  // the first paint
        state.PauseTiming();
        app->MainFrame()->View()->Jobs().WaitForAll();
        app.reset();
        state.ResumeTiming();
    }
    std::filesystem::remove_all(work);
}
BENCHMARK(BM_StartToMainWindow)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
