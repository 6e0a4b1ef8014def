#include "strategy/generation_run.h"

#include <exception>

#include "gep/population.h"
#include "strategy/fast_evaluator.h"
#include "strategy/strategy_signals.h"
#include "strategy/trading_engine.h"

namespace {

// Mutation, inversion, IS, RIS and gene transposition, one-point, two-point
// and gene recombination.
constexpr GEP::OperatorProbabilities kTradingOperatorRates = {0.1, 0.2, 0.0, 0.1, 0.1, 0.3, 0.3, 0.3};

}  // namespace

std::unique_ptr<GenerationRun> GenerationRun::Start(CDataCenter& dc, GenerationHooks hooks, const MessageSink& show) {
    const RunParameters& p = dc.Parameters();
    std::vector<TradingRecord> cases = BuildFitnessCases(dc, p.rangeBegin, p.rangeEnd);
    if (cases.empty()) {
        if (show) show("验证区间内没有可用于生成策略的交易日！");
        return nullptr;
    }
    std::vector<TradingRecord> testCases = BuildFitnessCases(dc, p.testBegin, p.testEnd);
    return std::make_unique<GenerationRun>(StartKey{}, dc, std::move(hooks), show, std::move(cases),
                                           std::move(testCases));
}

GenerationRun::GenerationRun(StartKey, CDataCenter& dc, GenerationHooks hooks, MessageSink show,
                             std::vector<TradingRecord> cases, std::vector<TradingRecord> testCases)
    : dc_(dc), hooks_(std::move(hooks)), show_(std::move(show)) {
    RunParameters& p = dc_.Parameters();
    p.caseCount = static_cast<int32_t>(cases.size());
    p.generating = 1;
    p.running = true;
    p.tradeLog.clear();
    p.testTradeLog.clear();
    p.winRateHistory.clear();
    worker_ = std::thread(&GenerationRun::Run, this, std::move(cases), std::move(testCases));
}

GenerationRun::~GenerationRun() {
    Stop();
    Wait();
}

void GenerationRun::Stop() { dc_.Parameters().running = false; }

void GenerationRun::Wait() {
    if (worker_.joinable()) worker_.join();
}

void GenerationRun::Run(std::vector<TradingRecord> cases, std::vector<TradingRecord> testCases) {
    RunParameters& p = dc_.Parameters();
    p.resultSaved = 0;
    try {
        Breed(std::move(cases), std::move(testCases));
    } catch (const std::exception& e) {
        // Only resource exhaustion gets here; the run ends with what it has.
        if (show_) show_(std::string("strategy generation stopped: ") + e.what());
    }
    p.generating = 0;
    p.resultSaved = 0;
    if (hooks_.finished) hooks_.finished();
}

void GenerationRun::Breed(std::vector<TradingRecord> cases, std::vector<TradingRecord> testCases) {
    RunParameters& p = dc_.Parameters();
    const TradingEngineScope engine;
    p.linkingFunction = std::string(kTradingLinkingFunction);
    TraderIndividual::setRules(RulesFrom(p));

    GEP::Population<TraderIndividual> population(static_cast<uint16_t>(p.populationSize),
                                                 static_cast<uint16_t>(p.archiveSize));
    population.setProbabilities(kTradingOperatorRates);
    population.setInversionLength(4);
    population.setTransposonLength(3);

    GEP::Algorithm<TraderIndividual> algorithm(population, std::move(cases), std::move(testCases));
    const auto steps = static_cast<uint32_t>(p.evoluteSteps);
    algorithm.setGenerations(steps);
    algorithm.setStopLimit(steps);
    algorithm.setTestRuns(1);
    algorithm.setEliteMode(GEP::kEliteSimple);
    algorithm.setOutputFileName("./output.dat");
    algorithm.setRunFlag(&p.running);
    FastEvaluator fast;  // one per run: it keeps the run's bit series and fitness cache
    const bool bitParallel = hooks_.evaluation == TraderEvaluation::kFast;
    if (hooks_.evaluator) algorithm.setEvaluator(hooks_.evaluator);
    else if (bitParallel)
        algorithm.setEvaluator([&fast](auto batch, const auto& cases) { fast.evaluate(batch, cases); });
    algorithm.setProgressCallback([&](const GEP::GenerationReport<TraderIndividual>& report) {
        if (hooks_.replay) hooks_.replay(report.best, algorithm.trainingRecords(), p);
        else if (bitParallel) fast.replay(report.best, algorithm.trainingRecords(), p);
        else ReplayBest(report.best, algorithm.trainingRecords(), p);
        p.generation = report.stallCount;
        if (!hooks_.progress) return;
        const float winRatio = p.winRateHistory.empty() ? 0.0f : p.winRateHistory.back();
        hooks_.progress({p.winRateHistory.size(), report.stallCount, report.best.fitness(), winRatio});
    });
    algorithm.run();

    const TraderIndividual* best = population.best();
    if (best == nullptr) return;
    p.bestChromosome = best->chromosome().symbols();
    p.geneCount = GEP::Chromosome::numGenes();
    p.geneLength = GEP::Chromosome::geneLength();
    ComputeStrategySignals(dc_);
}
