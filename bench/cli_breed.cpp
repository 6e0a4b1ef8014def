// `korvel-cli breed SS 600000` from process start to exit (the report
// printed), on a fresh database holding the bundled history of SS 600000:
// opening the database and its settings, LoadStock, the whole breed with the
// database's run parameters, the report. Repetition r uses --seed r, so the
// median is over searches of different lengths. Output goes to /dev/null.
//
// `bench_cli_breed --make-database DIR` only writes that database into DIR
// and exits, for timing the command with other tools (hyperfine).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_data.h"
#include "run_quietly.h"

namespace {

struct Pufa {
    bench_data::BenchDatabase data;
    Pufa() { data.ImportReal("SS", "600000"); }
};

bench_data::BenchDatabase& TheDatabase() {
    static Pufa pufa;
    return pufa.data;
}

void CliBreed(benchmark::State& state, const char* evaluator) {
    static uint32_t seeds[2] = {0, 0};
    uint32_t& seed = seeds[std::string(evaluator) == "fast" ? 0 : 1];
    const std::string dir = TheDatabase().dir().string();
    for (auto _ : state) {
        const int status = RunQuietly({KORVEL_CLI_PATH, "--dir", dir, "breed", "SS", "600000", "--seed",
                                       std::to_string(++seed), "--evaluator", evaluator});
        if (status != 0) {
            state.SkipWithError("korvel-cli breed failed");
            return;
        }
    }
}
BENCHMARK_CAPTURE(CliBreed, fast, "fast")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(20)
    ->ReportAggregatesOnly(true)
    ->UseRealTime();
BENCHMARK_CAPTURE(CliBreed, reference, "reference")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--make-database") {
        bench_data::BenchDatabase data{std::filesystem::path(argv[2])};
        data.ImportReal("SS", "600000");
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
