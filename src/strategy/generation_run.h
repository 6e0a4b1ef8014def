#pragma once
// The generation run: breeds a trading strategy for the current stock on a
// worker thread and leaves the result in the run parameters.
//
// Start() builds the fitness cases of the verification range (rangeBegin ..
// rangeEnd, see time_range.h) and refuses a range without cases. It then sets
// `generating` and `running`, clears the trade logs and the win-rate history
// and starts the worker, which configures the engine for trading, and after
// every generation replays the best strategy (tradeLog, winRateHistory),
// stores the stall count in `generation` and calls `progress`. The run ends
// when the stall count reaches evoluteSteps or `running` is cleared (Stop()).
// The best strategy then goes to bestChromosome, geneCount, geneLength and
// linkingFunction, and its per-bar signals are computed; `generating` and
// `resultSaved` are cleared and `finished` is called. A run that found no
// best strategy (stopped before its first generation) keeps the previous
// bestChromosome.
//
// Threads: the callbacks run on the worker, synchronously: the run goes on
// only when they return, so they may read the run parameters meanwhile. The
// caller must leave the run parameters, the current stock and the engine
// alone during the run; only `running` may change (Stop()). Destroying the
// run waits for the worker, so never destroy it on a thread the callbacks
// wait for.
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "datastore/data_center.h"
#include "datastore/message_sink.h"
#include "gep/algorithm.h"
#include "strategy/fitness_cases.h"
#include "strategy/trader_individual.h"

// What the progress callback is told after each generation; the run
// parameters hold the rest (tradeLog, winRateHistory).
struct GenerationProgress {
    size_t generations;    // completed so far: entries of winRateHistory
    uint32_t stallCount;   // generations since the best last improved
    double bestFitness;
    float winRatio;        // of the best, the newest winRateHistory entry
};

// How the traders of a run are scored: bit-parallel (FastEvaluator, the
// default) or record by record (the trader's own processRecord and
// ReplayBest). Both give identical results; the second is the reference
// the first is checked against.
enum class TraderEvaluation { kFast, kReference };

struct GenerationHooks {
    std::function<void(const GenerationProgress&)> progress;
    std::function<void()> finished;
    TraderEvaluation evaluation = TraderEvaluation::kFast;
    // Scores a batch of individuals in place of `evaluation`'s; any other
    // evaluator must give identical fitness values.
    GEP::Algorithm<TraderIndividual>::Evaluator evaluator;
    // Replays the best after a generation (tradeLog, winRateHistory) in
    // place of `evaluation`'s; any other must record the same.
    std::function<void(TraderIndividual& best, const std::vector<TradingRecord>& cases, RunParameters& params)>
        replay;
};

class GenerationRun {
    // Only Start() can make one.
    struct StartKey {
        explicit StartKey() = default;
    };

public:
    // Nothing (after the message "验证区间内没有可用于生成策略的交易日！"
    // through `show`, with nothing changed) when the verification range has
    // no fitness case.
    static std::unique_ptr<GenerationRun> Start(CDataCenter& dc, GenerationHooks hooks, const MessageSink& show);

    GenerationRun(StartKey, CDataCenter& dc, GenerationHooks hooks, MessageSink show,
                  std::vector<TradingRecord> cases, std::vector<TradingRecord> testCases);
    // Stops the run if it is still going and waits for the worker.
    ~GenerationRun();
    GenerationRun(const GenerationRun&) = delete;
    GenerationRun& operator=(const GenerationRun&) = delete;

    // Clears `running`; the worker ends after the generation in progress.
    void Stop();
    // Waits until the worker has finished (after `finished` returned).
    void Wait();

private:
    void Run(std::vector<TradingRecord> cases, std::vector<TradingRecord> testCases);
    void Breed(std::vector<TradingRecord> cases, std::vector<TradingRecord> testCases);

    CDataCenter& dc_;
    GenerationHooks hooks_;
    MessageSink show_;
    std::thread worker_;  // last: starts once everything it uses exists
};
