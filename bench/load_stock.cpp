// LoadStock of a real stock: the newest 1200 of 5259 stored days of SS 600000,
// with its dividend records, adjusted and run through all seven indicator
// generators. Target: under 1 ms per load.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "datastore/data_center.h"
#include "datastore/open_database.h"

namespace {

std::vector<std::string> SplitCsv(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    std::string field;
    while (std::getline(in, field, ',')) fields.push_back(field);
    return fields;
}

// Rows of a bundled CSV file after its header, each as its fields.
std::vector<std::vector<std::string>> ReadCsv(const std::string& name) {
    std::ifstream in(std::string(KORVEL_SOURCE_DIR) + "/data/" + name);
    if (!in) throw std::runtime_error("cannot read data/" + name);
    std::vector<std::vector<std::string>> rows;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) rows.push_back(SplitCsv(line));
    return rows;
}

// A database in a temporary folder holding SS 600000's bars and dividends.
class BenchStore {
public:
    BenchStore() {
        std::string pattern = (std::filesystem::temp_directory_path() / "korvel-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        dir_ = pattern;
        std::optional<Database> db = OpenDatabase(dir_, {});
        if (!db) throw std::runtime_error("cannot create the database");
        db_.emplace(std::move(*db));
        db_->Exec("BEGIN");
        for (const auto& f : ReadCsv("daily/SS_600000.csv"))
            db_->Exec("INSERT INTO DAILY VALUES('SS', '600000', ?, ?, ?, ?, ?, ?)", {f[0], f[1], f[2], f[3], f[4], f[5]});
        for (const auto& f : ReadCsv("dividend.csv"))
            if (f[0] == "SS" && f[1] == "600000")
                db_->Exec("INSERT INTO DIVIDEND VALUES(?, ?, ?, ?, ?, ?, ?, ?)",
                          {f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]});
        db_->Exec("COMMIT");
    }
    ~BenchStore() {
        db_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    Database& db() { return *db_; }

private:
    std::filesystem::path dir_;
    std::optional<Database> db_;
};

void BM_LoadStock(benchmark::State& state) {
    BenchStore store;
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
