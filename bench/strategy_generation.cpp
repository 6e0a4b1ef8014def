// The trading run on the real history of SS 600000 (bundled data): one
// generation as the run performs it (breeding, the record-by-record
// evaluation of 100 traders, the replay of the best) over the 479 cases of
// the default database settings and the 959 of the built-in 960 days, and
// a whole breed as `korvel-cli breed SS 600000 --seed 7` runs it.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "datastore/data_center.h"
#include "datastore/open_database.h"
#include "gep/algorithm.h"
#include "gep/random.h"
#include "strategy/fitness_cases.h"
#include "strategy/generation_run.h"
#include "strategy/time_range.h"
#include "strategy/trading_engine.h"

namespace {

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    std::string field;
    while (std::getline(in, field, ',')) fields.push_back(field);
    return fields;
}

void Import(Database& db, const std::string& file, const char* sql, size_t columns, bool onlyPufa) {
    std::ifstream in(std::string(KORVEL_SOURCE_DIR) + "/data/" + file);
    if (!in) throw std::runtime_error("cannot read data/" + file);
    std::string line;
    std::getline(in, line);
    db.Exec("BEGIN");
    while (std::getline(in, line)) {
        const std::vector<std::string> f = Split(line);
        if (f.size() != columns || (onlyPufa && (f[0] != "SS" || f[1] != "600000"))) continue;
        if (columns == 6) db.Exec(sql, {f[0], f[1], f[2], f[3], f[4], f[5]});
        else db.Exec(sql, {f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]});
    }
    db.Exec("COMMIT");
}

// A database holding SS 600000 in a temporary folder, loaded once.
struct Pufa {
    std::filesystem::path dir;
    std::optional<Database> db;
    std::unique_ptr<CDataCenter> dc;

    Pufa() {
        std::string pattern = (std::filesystem::temp_directory_path() / "korvel-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        dir = pattern;
        db = OpenDatabase(dir, {});
        std::ifstream daily(std::string(KORVEL_SOURCE_DIR) + "/data/daily/SS_600000.csv");
        std::string line;
        std::getline(daily, line);
        db->Exec("BEGIN");
        while (std::getline(daily, line)) {
            const std::vector<std::string> f = Split(line);
            db->Exec("INSERT INTO DAILY VALUES('SS', '600000', ?, ?, ?, ?, ?, ?)", {f[0], f[1], f[2], f[3], f[4], f[5]});
        }
        db->Exec("COMMIT");
        Import(*db, "dividend.csv", "INSERT INTO DIVIDEND VALUES(?, ?, ?, ?, ?, ?, ?, ?)", 8, true);
        dc = std::make_unique<CDataCenter>(*db);
        if (!dc->LoadStock("600000", "SS")) throw std::runtime_error("cannot load SS 600000");
    }
    ~Pufa() {
        dc.reset();
        db.reset();
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
};

Pufa& TheData() {
    static Pufa pufa;
    return pufa;
}

// The run's parameters for `days` days with the default database settings.
RunParameters& Parameters(int32_t days) {
    RunParameters& p = TheData().dc->Parameters();
    p.evoluteDays = days;
    p.evoluteSteps = 60;
    p.minTradeNums = 1;
    p.maxTradeNums = 250;
    p.buyCharge = 0.002f;
    p.sellCharge = 0.003f;
    ComputeVerificationRange(p, TheData().dc->Dates());
    return p;
}

void ReferenceGeneration(benchmark::State& state) {
    RunParameters& p = Parameters(static_cast<int32_t>(state.range(0)));
    const std::vector<TradingRecord> cases = BuildFitnessCases(*TheData().dc, p.rangeBegin, p.rangeEnd);
    p.caseCount = static_cast<int32_t>(cases.size());
    GEP::resetRandomSources();
    GEP::setClockSeedOverride(7);
    SetUpTradingEngine();
    TraderIndividual::setRules(RulesFrom(p));
    GEP::Population<TraderIndividual> population(100, 5);
    population.setProbabilities({0.1, 0.2, 0.0, 0.1, 0.1, 0.3, 0.3, 0.3});
    population.setInversionLength(4);
    population.setTransposonLength(3);
    GEP::Algorithm<TraderIndividual> algorithm(population, cases);
    population.generate();
    algorithm.evaluateAll();
    for (auto _ : state) {
        population.runGeneration(GEP::kEliteSimple);
        algorithm.evaluateAll();
        ReplayBest(*population.best(), cases, p);
    }
    state.counters["cases"] = static_cast<double>(cases.size());
    GEP::Chromosome::releaseFunctions();
    GEP::setClockSeedOverride(std::nullopt);
}
BENCHMARK(ReferenceGeneration)->Arg(480)->Arg(960)->Unit(benchmark::kMicrosecond);

// The whole search of `korvel-cli breed SS 600000 --seed 7` (480 days,
// depth 60), without the database work around it.
void ReferenceBreed(benchmark::State& state) {
    Parameters(480);
    size_t generations = 0;
    for (auto _ : state) {
        GEP::resetRandomSources();
        GEP::setClockSeedOverride(7);
        std::unique_ptr<GenerationRun> run = GenerationRun::Start(*TheData().dc, {}, {});
        run->Wait();
        generations = TheData().dc->Parameters().winRateHistory.size();
    }
    state.counters["generations"] = static_cast<double>(generations);
    GEP::setClockSeedOverride(std::nullopt);
}
BENCHMARK(ReferenceBreed)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
