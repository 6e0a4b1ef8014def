// The trading run on the real history of SS 600000 (bundled data, the newest
// 1200 bars) with a fresh program's run parameters: 960 days (959 fitness
// cases), population 100, archive 5, depth 50, trade band 10..20, charges
// 0.1 % and 0.2 %.
//   (a) PopulationFitness: one mid-run population of 100 scored by the
//       record-by-record evaluation and by the bit-parallel one (its fitness
//       cache off, so every individual is traded out);
//   (b) Generation: one generation end to end as the run performs it:
//       breeding, scoring every individual, replaying the best;
//   (c) Breed: a complete breed through GenerationRun (worker thread, the
//       per-bar signals at the end), one seed per repetition; the counters
//       give the generations and the fitness cache's hit rate.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench_data.h"
#include "datastore/data_center.h"
#include "gep/algorithm.h"
#include "gep/random.h"
#include "strategy/fast_evaluator.h"
#include "strategy/fitness_cases.h"
#include "strategy/generation_run.h"
#include "strategy/time_range.h"
#include "strategy/trading_engine.h"

namespace {

using Algorithm = GEP::Algorithm<TraderIndividual>;

struct Pufa {
    bench_data::BenchDatabase data;
    std::unique_ptr<CDataCenter> dc;

    Pufa() {
        data.ImportReal("SS", "600000");
        dc = std::make_unique<CDataCenter>(data.db());
        if (!dc->LoadStock("600000", "SS")) throw std::runtime_error("cannot load SS 600000");
    }
};

Pufa& TheData() {
    static Pufa pufa;
    return pufa;
}

// The parameters a fresh program starts with, and the verification range.
RunParameters& DefaultParameters() {
    RunParameters& p = TheData().dc->Parameters();
    p.evoluteDays = 960;
    p.evoluteSteps = 50;
    p.minTradeNums = 10;
    p.maxTradeNums = 20;
    p.buyCharge = 0.001f;
    p.sellCharge = 0.002f;
    p.populationSize = 100;
    p.archiveSize = 5;
    ComputeVerificationRange(p, TheData().dc->Dates());
    return p;
}

// Seeds the random sources, fixes the rules and returns the run's cases.
std::vector<TradingRecord> PrepareRun(uint32_t seed) {
    GEP::resetRandomSources();
    GEP::setClockSeedOverride(seed);
    RunParameters& p = DefaultParameters();
    std::vector<TradingRecord> cases = BuildFitnessCases(*TheData().dc, p.rangeBegin, p.rangeEnd);
    p.caseCount = static_cast<int32_t>(cases.size());
    TraderIndividual::setRules(RulesFrom(p));
    return cases;
}

// The engine, population and driver of a run, set up as GenerationRun does,
// with a first random population scored.
struct Run {
    TradingEngineScope engine;
    std::vector<TradingRecord> cases;
    GEP::Population<TraderIndividual> population{100, 5};
    Algorithm algorithm{population, cases};
    FastEvaluator fast;

    explicit Run(uint32_t seed, bool bitParallel) : cases(PrepareRun(seed)) {
        population.setProbabilities({0.1, 0.2, 0.0, 0.1, 0.1, 0.3, 0.3, 0.3});
        population.setInversionLength(4);
        population.setTransposonLength(3);
        if (bitParallel) algorithm.setEvaluator([this](auto batch, const auto& c) { fast.evaluate(batch, c); });
        GEP::reseedSymbolSource();
        population.generate();
        algorithm.evaluateAll();
    }
    ~Run() { GEP::setClockSeedOverride(std::nullopt); }

    std::vector<TraderIndividual*> batch() {
        std::vector<TraderIndividual*> all;
        for (size_t i = 0; i < population.size(); ++i) all.push_back(&population[i]);
        return all;
    }
};

// (a) The population after 20 generations of seed 7.
void PopulationFitness(benchmark::State& state, bool bitParallel) {
    Run run(7, true);
    for (int g = 0; g < 20; ++g) {
        run.population.runGeneration(GEP::kEliteSimple);
        run.algorithm.evaluateAll();
    }
    const std::vector<TraderIndividual*> batch = run.batch();
    FastEvaluator uncached(false);
    uncached.evaluate(batch, run.cases);  // builds the bit series once, as a run does
    for (auto _ : state) {
        if (bitParallel) uncached.evaluate(batch, run.cases);
        else Algorithm::evaluateByRecords(batch, run.cases);
        benchmark::DoNotOptimize(batch[0]->fitness());
    }
    state.counters["cases"] = static_cast<double>(run.cases.size());
}
BENCHMARK_CAPTURE(PopulationFitness, reference, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(PopulationFitness, fast, true)->Unit(benchmark::kMicrosecond);

// The shares of the evaluations answered by the reading-frame cache, by the
// held-series cache, and by either (a held series seen before).
void CacheCounters(benchmark::State& state, const FastEvaluator::Counts& c) {
    if (c.evaluations == 0) return;
    const double n = static_cast<double>(c.evaluations);
    state.counters["frame_hit_%"] = 100.0 * static_cast<double>(c.frameHits) / n;
    state.counters["series_hit_%"] = 100.0 * static_cast<double>(c.seriesHits) / n;
    state.counters["seen_%"] = 100.0 * static_cast<double>(c.frameHits + c.seriesHits) / n;
}

// (b) Generation after generation of seed 7 (the stall count is not checked,
// so the population keeps evolving as in a long run).
void Generation(benchmark::State& state, bool bitParallel) {
    Run run(7, bitParallel);
    RunParameters& p = TheData().dc->Parameters();
    for (auto _ : state) {
        run.population.runGeneration(GEP::kEliteSimple);
        run.algorithm.evaluateAll();
        const std::vector<TradingRecord>& cases = run.algorithm.trainingRecords();
        if (bitParallel) run.fast.replay(*run.population.best(), cases, p);
        else ReplayBest(*run.population.best(), cases, p);
        if (p.winRateHistory.size() > 10000) p.winRateHistory.clear();
    }
    if (bitParallel) CacheCounters(state, run.fast.counts());
}
BENCHMARK_CAPTURE(Generation, reference, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Generation, fast, true)->Unit(benchmark::kMicrosecond);

// (c) Whole breeds; repetition r uses seed r (1, 2, ...), so the median is
// over different searches of different lengths.
void Breed(benchmark::State& state, TraderEvaluation evaluation) {
    static uint32_t seeds[2] = {0, 0};
    uint32_t& seed = seeds[evaluation == TraderEvaluation::kFast ? 0 : 1];
    DefaultParameters();
    CDataCenter& dc = *TheData().dc;
    double generations = 0;
    FastEvaluator::Counts all;
    for (auto _ : state) {
        GEP::resetRandomSources();
        GEP::setClockSeedOverride(++seed);
        FastEvaluator fast;
        GenerationHooks hooks;
        hooks.evaluation = evaluation;
        if (evaluation == TraderEvaluation::kFast) {
            hooks.evaluator = [&fast](auto batch, const auto& cases) { fast.evaluate(batch, cases); };
            hooks.replay = [&fast](TraderIndividual& best, const auto& cases, RunParameters& p) {
                fast.replay(best, cases, p);
            };
        }
        const std::unique_ptr<GenerationRun> run = GenerationRun::Start(dc, std::move(hooks), {});
        run->Wait();
        generations += static_cast<double>(dc.Parameters().winRateHistory.size());
        all.evaluations += fast.counts().evaluations;
        all.frameHits += fast.counts().frameHits;
        all.seriesHits += fast.counts().seriesHits;
    }
    GEP::setClockSeedOverride(std::nullopt);
    state.counters["generations"] = benchmark::Counter(generations, benchmark::Counter::kAvgIterations);
    CacheCounters(state, all);
}
BENCHMARK_CAPTURE(Breed, fast, TraderEvaluation::kFast)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(Breed, reference, TraderEvaluation::kReference)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
