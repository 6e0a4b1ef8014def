// The signal bits of a formula against the engine's own value, case by case
// (the fitness built on them is held to the engine's by
// fast_evaluator_test.cpp); which engines the bits refuse.
#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "equivalence_fixture.h"
#include "gep/functions.h"
#include "strategy/condition_bits.h"
#include "strategy/formula_bits.h"
#include "strategy/trading_engine.h"
#include "strategy_fixture.h"

namespace {

using strategy_test::Record;
using strategy_test::SyntheticCases;
using strategy_test::SyntheticShape;

class FormulaBitsTest : public strategy_test::EngineTest {
protected:
    // Every case's bit against the truncated value of the chromosome.
    static void ExpectSignalsAsEngine(std::vector<TraderIndividual>& traders, const std::vector<Record>& cases,
                                      const std::string& what) {
        const std::optional<ConditionBits> bits = BuildConditionBits(cases, 21);
        ASSERT_TRUE(bits);
        std::optional<FormulaBits> formula = FormulaBits::ForCurrentEngine();
        ASSERT_TRUE(formula) << what;
        std::vector<uint64_t> signal(bits->words);
        for (size_t i = 0; i < traders.size(); ++i) {
            ASSERT_TRUE(formula->evaluate(traders[i].chromosome().symbols(), *bits, signal.data()));
            for (size_t k = 0; k < cases.size(); ++k) {
                GEP::Chromosome::assignInputs(cases[k].inputs);
                const int32_t engine = GEP::truncToInt32(traders[i].chromosome().value());
                const int32_t bit = static_cast<int32_t>((signal[k / 64] >> (k % 64)) & 1);
                ASSERT_EQ(bit, engine) << what << ", trader " << i << ", case " << k << "\n"
                                       << traders[i].chromosome().toString();
            }
        }
    }
};

// Symbols drawn at random for every position, tails included: genes that
// do not close are refused exactly where the engine's walk refuses them,
// and the others match the engine.
TEST_F(FormulaBitsTest, AnySymbolsAsTheEngineOrRefused) {
    SetUpTradingEngine();
    SyntheticShape shape;
    shape.cases = 70;
    const std::vector<Record> cases = SyntheticCases(shape, 9);
    std::mt19937 rng(4);
    std::vector<TraderIndividual> closing;
    size_t refused = 0;
    std::optional<FormulaBits> formula = FormulaBits::ForCurrentEngine();
    const std::optional<ConditionBits> bits = BuildConditionBits(cases, 21);
    std::vector<uint64_t> signal(bits->words);
    std::vector<uint64_t> key(formula->keyWords());
    testing::internal::CaptureStdout();  // the engine's Karva messages
    for (int i = 0; i < 2000; ++i) {
        TraderIndividual t;
        // Half functions, half terminals, at every position.
        for (int16_t& s : t.chromosome().symbols())
            s = static_cast<int16_t>(rng() % 2 ? -static_cast<int>(rng() % 3) : 1 + static_cast<int>(rng() % 21));
        bool closes = true;
        for (size_t g = 0; g < 3; ++g) closes = closes && t.chromosome().orfEnd(g) >= 0;
        ASSERT_EQ(formula->evaluate(t.chromosome().symbols(), *bits, signal.data()), closes) << i;
        ASSERT_EQ(formula->frameKey(t.chromosome().symbols(), key.data()), closes) << i;
        if (closes) closing.push_back(t);
        else ++refused;
    }
    testing::internal::GetCapturedStdout();
    EXPECT_GT(refused, 100u);
    EXPECT_GT(closing.size(), 100u);
    ExpectSignalsAsEngine(closing, cases, "random symbols");
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
