// The bit-parallel evaluation gives the record-by-record results bit for bit,
// on real stocks and on synthetic cases built to reach every edge.
#include <gtest/gtest.h>

#include "equivalence_fixture.h"
#include "strategy/fitness_cases.h"
#include "strategy/time_range.h"
#include "strategy/trading_engine.h"
#include "strategy_fixture.h"

namespace {

using strategy_test::ExpectSameAsRecordByRecord;
using strategy_test::RandomTraders;
using strategy_test::Record;
using strategy_test::SyntheticCases;
using strategy_test::SyntheticShape;
using strategy_test::ThreeGenes;
using strategy_test::Trader;

class FastEvaluatorTest : public strategy_test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        SetUpTradingEngine();
        SetBand(10, 20, 959);
    }

    static void SetBand(int32_t minTrades, int32_t maxTrades, size_t cases) {
        strategy_test::SetRules(0.001f, 0.002f, minTrades, maxTrades, cases);
    }

    // The cases of the default 960-day verification range of a bundled stock.
    static std::vector<Record> RealCases(const std::string& market, const std::string& code) {
        strategy_test::Store store;
        strategy_test::ImportDaily(store.db(), market, code);
        strategy_test::ImportDividends(store.db(), market, code);
        CDataCenter dc(store.db());
        EXPECT_TRUE(dc.LoadStock(code, market));
        RunParameters& p = dc.Parameters();
        EXPECT_TRUE(ComputeVerificationRange(p, dc.Dates()));
        return BuildFitnessCases(dc, p.rangeBegin, p.rangeEnd);
    }
};

TEST_F(FastEvaluatorTest, RandomFormulasOnRealStocks) {
    const struct {
        const char* market;
        const char* code;
    } stocks[] = {{"SS", "600000"}, {"SZ", "300059"}};
    uint32_t seed = 1;
    for (const auto& stock : stocks) {
        const std::vector<Record> cases = RealCases(stock.market, stock.code);
        ASSERT_EQ(cases.size(), 959u) << stock.code;
        FastEvaluator fast;
        for (const double functionProbability : {0.7, 1.0, 0.0, 0.4}) {
            for (const int32_t minTrades : {10, 1}) {
                SetBand(minTrades, minTrades == 10 ? 20 : 250, cases.size());
                const std::string what = std::string(stock.code) + " p=" + std::to_string(functionProbability) +
                                         " min=" + std::to_string(minTrades);
                ExpectSameAsRecordByRecord(RandomTraders(150, functionProbability, seed++), cases, fast, what, 3);
                EXPECT_TRUE(fast.bitParallel());
                if (HasFailure()) return;
            }
        }
    }
}

TEST_F(FastEvaluatorTest, SyntheticCasesWithNanAndFractionalConditionsAndOddLengths) {
    // Lengths around the 64-case words, a single case, and ranges that end
    // holding a position, with and without a last case to close it.
    uint32_t seed = 100;
    for (const size_t length : {1, 2, 63, 64, 65, 128, 129, 300, 959}) {
        for (const bool markLast : {true, false}) {
            SyntheticShape shape;
            shape.cases = length;
            shape.nanShare = 0.1;
            shape.fractionShare = 0.1;
            shape.markLast = markLast;
            shape.endHolding = length % 2 == 1 || !markLast;
            const std::vector<Record> cases = SyntheticCases(shape, seed++);
            SetBand(1, 250, length);
            FastEvaluator fast;
            const std::string what = std::to_string(length) + " cases" + (markLast ? "" : ", no last case");
            ExpectSameAsRecordByRecord(RandomTraders(120, length % 3 == 0 ? 1.0 : 0.7, seed++), cases, fast, what);
            EXPECT_TRUE(fast.bitParallel()) << what;
            if (HasFailure()) return;
        }
    }
}

TEST_F(FastEvaluatorTest, ConstantFormulasAndTheTradeCountBand) {
    // Terminal 0 on for one case and off for the next, `trades` times, then
    // off: exactly `trades` completed trades over 959 cases. 40 trades are
    // 10.01 per 240 cases (in the band 10..20), 39 and 80 are outside.
    const auto cases = [](int trades) {
        SyntheticShape shape;
        shape.cases = 959;
        std::vector<Record> c = SyntheticCases(shape, 7);
        for (size_t k = 0; k < c.size(); ++k) c[k].inputs[0] = k < 2u * trades && k % 2 == 0 ? 1.0 : 0.0;
        return c;
    };
    const std::vector<TraderIndividual> traders = {Trader({1}), Trader({-2, 1, 0, 1}), Trader({-1, 1, 0, 1})};
    for (const int trades : {39, 40, 80, 79}) {
        const std::vector<Record> c = cases(trades);
        FastEvaluator fast;
        ExpectSameAsRecordByRecord(traders, c, fast, std::to_string(trades) + " trades");
        std::vector<TraderIndividual> scored = traders;
        std::vector<TraderIndividual*> batch = {&scored[0], &scored[1], &scored[2]};
        fast.evaluate(batch, c);
        EXPECT_EQ(scored[0].fitness() > 0.0, trades == 40 || trades == 79) << trades;
        EXPECT_EQ(scored[1].fitness(), 0.0);  // always 1: one trade
        EXPECT_EQ(scored[2].fitness(), 0.0);  // always 0: no trade
    }

    // With 240 cases the bounds themselves: 10 and 20 trades score, 9 and 21 do not.
    for (const int trades : {9, 10, 20, 21}) {
        std::vector<Record> c = cases(trades);
        c.resize(240);
        c.back().last = 1;
        SetBand(10, 20, c.size());
        FastEvaluator fast;
        ExpectSameAsRecordByRecord({Trader({1})}, c, fast, std::to_string(trades) + " of 240");
    }
}

TEST_F(FastEvaluatorTest, TheCacheGivesTheSameResultsAndForgetsOtherCasesAndRules) {
    SyntheticShape shape;
    shape.cases = 500;
    const std::vector<Record> cases = SyntheticCases(shape, 11);
    SetBand(1, 250, cases.size());
    const std::vector<TraderIndividual> traders = RandomTraders(200, 0.7, 12);
    FastEvaluator fast;
    ExpectSameAsRecordByRecord(traders, cases, fast, "first pass");
    // Different random formulas repeat held series (constant ones at least).
    const FastEvaluator::Counts first = fast.counts();
    EXPECT_EQ(first.evaluations, traders.size());
    EXPECT_GT(first.seriesHits, 0u);
    ExpectSameAsRecordByRecord(traders, cases, fast, "second pass");
    EXPECT_EQ(fast.counts().frameHits - first.frameHits, traders.size());

    // Other cases (same length) and other rules must not reuse the cache.
    const std::vector<Record> other = SyntheticCases(shape, 13);
    ExpectSameAsRecordByRecord(traders, other, fast, "other cases");
    SetBand(1, 250, 100);
    ExpectSameAsRecordByRecord(traders, other, fast, "other rules");
    TraderIndividual::setRules({0.003f, 0.0f, 1, 250, 500});
    ExpectSameAsRecordByRecord(traders, other, fast, "other charges");
}

TEST_F(FastEvaluatorTest, RecordByRecordWhereBitsWouldNotBeExact) {
    SyntheticShape shape;
    shape.cases = 100;
    const std::vector<Record> cases = SyntheticCases(shape, 21);
    SetBand(1, 250, cases.size());

    // 2.0 and -1.0 are no bits: 2 & 1 is 0 for the engine, ~-1 is 0.
    for (const double notABit : {2.0, -1.0}) {
        std::vector<Record> odd = cases;
        odd[10].inputs[3] = notABit;
        FastEvaluator fast;
        const std::string what = "an input of " + std::to_string(notABit);
        ExpectSameAsRecordByRecord(RandomTraders(50, 0.7, 22), odd, fast, what);
        EXPECT_FALSE(fast.bitParallel());
    }

    // Too few inputs would leave terminal values from an earlier pass.
    std::vector<Record> shortInputs = cases;
    shortInputs[0].inputs.pop_back();
    FastEvaluator fast;
    ExpectSameAsRecordByRecord(RandomTraders(10, 0.7, 23), shortInputs, fast, "20 inputs");
    EXPECT_FALSE(fast.bitParallel());

    // Genes that do not close among closing ones: formula_bits_test.cpp.
}

}  // namespace
