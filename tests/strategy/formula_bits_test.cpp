// Formulas of any symbols as bits: refused exactly where the engine's walk
// refuses them, and otherwise scored as the engine scores them; which
// engines the bits refuse.
#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "equivalence_fixture.h"
#include "strategy/condition_bits.h"
#include "strategy/formula_bits.h"
#include "strategy/trading_engine.h"
#include "strategy_fixture.h"

namespace {

using strategy_test::Record;

using FormulaBitsTest = strategy_test::EngineTest;

// Symbols drawn at random for every position, tails included (the symbol
// generator puts only terminals there, a chromosome stored under another
// head length may not): genes that do not close are refused, the others,
// functions past their end included, are evaluated as bits; in a batch both
// score and trade as the engine's record-by-record pass makes them, which
// pins every signal bit but the last case's.
TEST_F(FormulaBitsTest, AnySymbolsAsTheEngineOrRefused) {
    SetUpTradingEngine();
    strategy_test::SyntheticShape shape;
    shape.cases = 70;
    const std::vector<Record> cases = strategy_test::SyntheticCases(shape, 9);
    std::mt19937 rng(4);
    std::vector<TraderIndividual> traders(2000);
    size_t refused = 0;
    std::optional<FormulaBits> formula = FormulaBits::ForCurrentEngine();
    const std::optional<ConditionBits> bits = BuildConditionBits(cases, 21);
    std::vector<uint64_t> signal(bits->words);
    std::vector<uint64_t> key(formula->keyWords());
    testing::internal::CaptureStdout();  // the engine's Karva messages
    for (TraderIndividual& t : traders) {
        // Half functions, half terminals, at every position.
        for (int16_t& s : t.chromosome().symbols())
            s = static_cast<int16_t>(rng() % 2 ? -static_cast<int>(rng() % 3) : 1 + static_cast<int>(rng() % 21));
        bool closes = true;
        for (size_t g = 0; g < 3; ++g) closes = closes && t.chromosome().orfEnd(g) >= 0;
        ASSERT_EQ(formula->evaluate(t.chromosome().symbols(), *bits, signal.data()), closes) << refused;
        ASSERT_EQ(formula->frameKey(t.chromosome().symbols(), key.data()), closes) << refused;
        refused += !closes;
    }
    EXPECT_GT(refused, 100u);
    EXPECT_LT(refused, traders.size() - 100);
    strategy_test::SetRules(0.001f, 0.002f, 1, 250, cases.size());
    FastEvaluator fast;
    strategy_test::ExpectSameAsRecordByRecord(traders, cases, fast, "random symbols", 7);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(fast.bitParallel());
}

// Frame keys are held to the uncached results by the cache test of
// fast_evaluator_test.cpp, the inputs that are bits (NaN, fractions) and
// those that are not (2, -1) by its synthetic cases.
TEST_F(FormulaBitsTest, OnlyLogicalEngines) {
    // The last: genes without a linking function.
    using Shape = std::tuple<const char*, const char*, const char*, bool>;
    for (const auto& [linking, oneArg, twoArg, ok] :
         std::vector<Shape>{{"&", "~", "& |", true}, {"+", "~", "& |", false}, {"&", "~ sqrt", "& |", false},
                            {"&", "~", "& *", false}, {"", "~", "& |", false}}) {
        testing_support::SetUpEngine(21, linking, oneArg, twoArg, 11, 3);
        EXPECT_EQ(FormulaBits::ForCurrentEngine().has_value(), ok) << linking << oneArg << twoArg;
    }
}

}  // namespace
