// Strategy files of 1,000 strategies (each with a 1.5 KB report and 40
// trades): reading and importing one into an empty database, and exporting
// one. Target: the import of 1,000 entries in one pass within 2 s.
#include <benchmark/benchmark.h>

#include "bench_data.h"
#include "strategy/export_list.h"
#include "strategy/strategy_file_reader.h"
#include "strategy/strategy_file_writer.h"
#include "strategy/strategy_import.h"
#include "text/format.h"

namespace {

constexpr int kStrategies = 1000;
constexpr int kTrades = 40;

// A stored report as saving writes it: report text, header, code string.
std::string Report(const std::string& code) {
    std::string report;
    for (int line = 0; line < 40; ++line) report += text::Format("统计项目%02d: %d.%02d%%\r\n", line, line * 7, line);
    const std::string gene = "BCaAbcdefghijklmnopqrst";
    return text::Utf8ToGbk(report + "\r\n\r\n引擎版本\r\n◎Tavrin≡1≡1≡0≡6◎\r\n\r\n生成对象\r\nSS" + code +
                           "\r\n\r\n操盘密码\r\n◎" + gene + "◎\r\n◎" + gene + "◎\r\n◎" + gene + "◎");
}

// A database holding the strategies and their trade logs.
void FillSource(Database& db) {
    db.Exec("BEGIN");
    for (int i = 0; i < kStrategies; ++i) {
        const std::string code = text::Format("%06d", 600000 + i);
        db.Exec("INSERT INTO STOCKCODE VALUES(20220114, 'SS', ?, ?, 'X', 1)", {code, text::Utf8ToGbk("股票" + code)});
        db.Exec("INSERT INTO SECRET(MARKET, CODE, VRSN, NUMS, LENG, CRPT, DBGN, DEND) "
                "VALUES('SS', ?, 1106, 3, 23, ?, 20200102, 20220114)",
                {code, Report(code)});
        for (int t = 0; t < kTrades; ++t)
            db.Exec("INSERT INTO TRADELOG VALUES('SS', ?, 1106, ?, ?, ?, ?)",
                    {code, 20200102 + t, t % 2, 10.25 + t * 0.01, t % 2 ? -1.5 + t * 0.1 : 0.0});
    }
    db.Exec("COMMIT");
}

// The file of every strategy of a filled database, written once.
const std::filesystem::path& StrategyFile() {
    static bench_data::BenchDatabase source;
    static const std::filesystem::path file = [] {
        FillSource(source.db());
        std::vector<StrategyEntry> entries = ListExportableStrategies(source.db());
        for (StrategyEntry& e : entries) e.selected = true;
        const std::filesystem::path path = source.dir() / "all.opx";
        if (entries.size() != kStrategies || !ExportStrategies(source.db(), entries, path, {}))
            throw std::runtime_error("cannot write the benchmark's strategy file");
        return path;
    }();
    return file;
}

void BM_ImportStrategyFile(benchmark::State& state) {
    const std::filesystem::path& file = StrategyFile();
    for (auto _ : state) {
        state.PauseTiming();
        auto target = std::make_unique<bench_data::BenchDatabase>();
        state.ResumeTiming();
        std::optional<std::vector<StrategyEntry>> entries = ReadStrategyFile(file, {});
        if (!entries) {
            state.SkipWithError("cannot read the file");
            break;
        }
        for (StrategyEntry& e : *entries) e.selected = true;
        const ImportResult result = ImportStrategies(target->db(), *entries, {});
        if (!result.Clean() || result.selected != kStrategies) state.SkipWithError("import not clean");
        state.PauseTiming();
        target.reset();
        state.ResumeTiming();
    }
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
}
BENCHMARK(BM_ImportStrategyFile)->Unit(benchmark::kMillisecond);

void BM_ExportStrategyFile(benchmark::State& state) {
    bench_data::BenchDatabase source;
    FillSource(source.db());
    std::vector<StrategyEntry> entries = ListExportableStrategies(source.db());
    for (StrategyEntry& e : entries) e.selected = true;
    for (auto _ : state)
        if (!ExportStrategies(source.db(), entries, source.dir() / "out.opx", {})) state.SkipWithError("export failed");
}
BENCHMARK(BM_ExportStrategyFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
