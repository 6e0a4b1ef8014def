#pragma once
// Shared pieces of the tests that hold the bit-parallel evaluation against
// the record-by-record one: random traders of the trading shape, synthetic
// fitness cases, and comparisons of every observable result bit for bit.
#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <string>
#include <vector>

#include "gep/algorithm.h"
#include "gep/random.h"
#include "gep/symbol_generator.h"
#include "strategy/fast_evaluator.h"
#include "strategy/trader_individual.h"

namespace strategy_test {

using Record = TraderIndividual::Record;

inline uint64_t Bits(double x) { return std::bit_cast<uint64_t>(x); }
inline uint32_t Bits(float x) { return std::bit_cast<uint32_t>(x); }

// `count` random chromosomes of the current engine shape, drawn from a
// symbol source seeded with `seed`. A function probability of 1 fills every
// head with functions (the deepest trees), 0 gives genes of one terminal.
inline std::vector<TraderIndividual> RandomTraders(size_t count, double functionProbability, uint32_t seed) {
    GEP::SymbolGenerator generator;
    GEP::symbolSource().seed(seed);
    generator.setFunctionProbability(functionProbability);
    std::vector<TraderIndividual> traders(count);
    for (TraderIndividual& t : traders) generator.generateRandom(t.chromosome());
    return traders;
}

// What a synthetic set of cases contains besides plain 0/1 inputs.
struct SyntheticShape {
    size_t cases = 300;
    double nanShare = 0.0;       // inputs that are NaN (truncate to 0)
    double fractionShare = 0.0;  // inputs like 0.4, -0.7 or 1.6 (truncate to 0 or 1)
    bool markLast = true;        // the final case carries last = 1
    bool endHolding = true;      // every input is 1 on the final 5 cases, so most formulas hold there
};

// Random cases: each terminal is on with its own probability, prices walk
// around 10 with repeats (equal prices give losses of exactly the charges).
inline std::vector<Record> SyntheticCases(const SyntheticShape& shape, uint32_t seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::vector<double> onShare(21);
    for (double& p : onShare) p = 0.05 + 0.9 * u(rng);
    std::vector<Record> cases(shape.cases);
    float price = 10.0f;
    for (size_t k = 0; k < shape.cases; ++k) {
        Record& r = cases[k];
        const bool forcedOn = shape.endHolding && k + 5 >= shape.cases;
        for (size_t t = 0; t < 21; ++t) {
            const bool on = forcedOn || u(rng) < onShare[t];
            double x = on ? 1.0 : 0.0;
            const double v = u(rng);
            if (!forcedOn && v < shape.nanShare) x = std::nan("");
            else if (!forcedOn && v < shape.nanShare + shape.fractionShare) x = on ? 1.6 : (k % 2 ? 0.4 : -0.7);
            r.inputs.push_back(x);
        }
        if (u(rng) < 0.8) price = static_cast<float>(price * (0.95 + 0.1 * u(rng)));
        r.price = price;
        r.date = 20200101 + static_cast<int32_t>(k);
        r.last = shape.markLast && k + 1 == shape.cases ? 1 : 0;
    }
    return cases;
}

// Everything observable of a trader after a pass, and of a trade log, as bits.
inline std::vector<uint64_t> StateBits(const TraderIndividual& t) {
    return {Bits(t.fitness()), t.valid(),  t.holding(), Bits(t.capital()), Bits(t.entryCost()),
            uint64_t(t.wins()), uint64_t(t.losses())};
}
inline std::vector<uint64_t> LogBits(const std::vector<TradeLogEntry>& log) {
    std::vector<uint64_t> bits;
    for (const TradeLogEntry& e : log)
        bits.insert(bits.end(), {uint64_t(e.date), uint64_t(e.kind), Bits(e.price), Bits(e.profit), Bits(e.total)});
    return bits;
}

// Scores copies of `traders` both ways (with `fast`, which may already hold
// a cache) and replays every `replayEvery`-th one both ways; everything
// observable must agree bit for bit.
inline void ExpectSameAsRecordByRecord(const std::vector<TraderIndividual>& traders, const std::vector<Record>& cases,
                                       FastEvaluator& fast, const std::string& what, size_t replayEvery = 1) {
    std::vector<TraderIndividual> byRecords = traders;
    std::vector<TraderIndividual> byBits = traders;
    std::vector<TraderIndividual*> referenceBatch;
    std::vector<TraderIndividual*> fastBatch;
    for (size_t i = 0; i < traders.size(); ++i) {
        referenceBatch.push_back(&byRecords[i]);
        fastBatch.push_back(&byBits[i]);
    }
    GEP::Algorithm<TraderIndividual>::evaluateByRecords(referenceBatch, cases);
    fast.evaluate(fastBatch, cases);
    for (size_t i = 0; i < traders.size(); ++i) {
        EXPECT_EQ(StateBits(byBits[i]), StateBits(byRecords[i])) << what << ", trader " << i;
        if (i % replayEvery == 0) {
            RunParameters referenceParams, fastParams;
            ReplayBest(byRecords[i], cases, referenceParams);
            fast.replay(byBits[i], cases, fastParams);
            EXPECT_EQ(StateBits(byBits[i]), StateBits(byRecords[i])) << what << ", replay of trader " << i;
            EXPECT_EQ(LogBits(fastParams.tradeLog), LogBits(referenceParams.tradeLog)) << what << ", trader " << i;
            EXPECT_EQ(fastParams.winRateHistory, referenceParams.winRateHistory) << what << ", trader " << i;
        }
        if (::testing::Test::HasFailure()) return;  // one broken trader tells enough
    }
}

}  // namespace strategy_test
