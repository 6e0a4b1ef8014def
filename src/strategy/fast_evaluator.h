#pragma once
// The bit-parallel evaluation of trader individuals, the default of a
// generation run. Gives the same fitness, trade log, win ratio and final
// pass state as the record-by-record evaluation (Algorithm::evaluateByRecords
// and ReplayBest), bit for bit:
//
//   1. the cases' inputs become bit series once (ConditionBits);
//   2. per individual, the formula is evaluated for all cases at once
//      (FormulaBits); the signal and "not the last case" give the cases on
//      which a position is held;
//   3. a position opens where that series turns on and closes where it turns
//      off; at exactly those cases the trader's own tradeOnSignal or
//      recordOnSignal runs with the case's signal, so the double arithmetic
//      is the same code in the same order (on every other case those steps
//      do nothing);
//   4. the fitness of a formula whose genes' reading frames were already seen
//      in this run, or of a held-cases series already seen, comes from a
//      cache (FitnessCache, exact keys): equal frames give equal signals, and
//      equal held series give equal trades.
//
// Where the bits would not be exact (inputs other than 0/1, functions other
// than "~", "&", "|", a gene that does not close) it evaluates record by
// record instead, for the whole run or for that individual.
//
// One evaluator per run: it binds to the cases and trading rules it first
// sees and rebinds (emptying the cache) when either changes. It reads the
// engine's class-wide settings and TraderIndividual's rules, so it shares
// their thread rules: one run at a time.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "datastore/run_parameters.h"
#include "strategy/condition_bits.h"
#include "strategy/fitness_cache.h"
#include "strategy/formula_bits.h"
#include "strategy/trader_individual.h"

class FastEvaluator {
public:
    // Without the cache every individual is traded out (for measurements).
    explicit FastEvaluator(bool cacheFitness = true) : cacheFitness_(cacheFitness) {}

    // Scores every individual of the batch on `cases` (setFitness, pass
    // state reset): the Evaluator of GEP::Algorithm.
    void evaluate(std::span<TraderIndividual* const> batch, const std::vector<TradingRecord>& cases);
    // replayBest: empties tradeLog, replays `best` with recording on and
    // appends its win ratio to winRateHistory.
    void replay(TraderIndividual& best, const std::vector<TradingRecord>& cases, RunParameters& params);

    // Whether the bound cases are evaluated bit by bit.
    bool bitParallel() const { return bits_.has_value() && formula_.has_value(); }

    // How the individuals scored bit by bit since the evaluator was made got
    // their fitness: from the reading-frame cache, from the held-series
    // cache, or by trading the series out.
    struct Counts {
        uint64_t evaluations = 0;
        uint64_t frameHits = 0;
        uint64_t seriesHits = 0;
    };
    const Counts& counts() const { return counts_; }

private:
    // Binds to the cases and rules of this call; true when bit-parallel.
    bool bind(const std::vector<TradingRecord>& cases);
    // Signal bits of the trader into signal_, held cases into held_.
    bool findSignal(const TraderIndividual& trader);

    bool cacheFitness_;
    const TradingRecord* boundCases_ = nullptr;
    size_t boundCount_ = 0;
    std::optional<TradingRules> boundRules_;
    std::optional<ConditionBits> bits_;
    std::optional<FormulaBits> formula_;
    FitnessCache cache_;   // fitness by held-case series
    FitnessCache frames_;  // fitness by reading frames
    std::vector<uint64_t> frameKey_;
    std::vector<uint64_t> signal_;
    std::vector<uint64_t> held_;
    std::vector<TraderIndividual*> byRecords_;
    Counts counts_;
};
