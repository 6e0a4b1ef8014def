#include <gtest/gtest.h>

#include <ctime>
#include <set>

#include "engine_fixture.h"
#include "gep/random.h"
#include "gep/symbol_generator.h"

namespace {

using gep_test::EngineTest;

const uint32_t kFirstOutputsOf42[] = {1608637542u, 3421126067u, 4083286876u, 787846414u, 3143890026u};

TEST(RandomSources, AllThreeStartFromSeed42) {
    GEP::resetRandomSources();
    for (const uint32_t expected : kFirstOutputsOf42) EXPECT_EQ(GEP::symbolSource()(), expected);
    for (const uint32_t expected : kFirstOutputsOf42) EXPECT_EQ(GEP::selectionSource()(), expected);
    // The real source is a copy taken before the symbol source was used, so
    // drawing from the symbol source above has not moved it.
    for (const uint32_t expected : kFirstOutputsOf42) EXPECT_EQ(GEP::realSource()(), expected);
}

TEST(RandomSources, U01ScalesTheRealSource) {
    GEP::resetRandomSources();
    EXPECT_DOUBLE_EQ(GEP::u01(), 1608637542.0 / 4294967296.0);
}

TEST(RandomSources, ClockReseedUsesTheTimeOrTheOverride) {
    GEP::setClockSeedOverride(std::nullopt);
    const auto before = static_cast<uint32_t>(std::time(nullptr));
    GEP::reseedSymbolSource();
    const auto after = static_cast<uint32_t>(std::time(nullptr));
    const uint32_t drawn = GEP::symbolSource()();
    EXPECT_TRUE(drawn == std::mt19937(before)() || drawn == std::mt19937(after)());

    GEP::setClockSeedOverride(77);
    GEP::reseedSymbolSource();
    EXPECT_EQ(GEP::symbolSource()(), std::mt19937(77)());
    // The override touches only the symbol source.
    GEP::resetRandomSources();
    GEP::reseedSymbolSource();
    EXPECT_EQ(GEP::selectionSource()(), kFirstOutputsOf42[0]);
    EXPECT_EQ(GEP::realSource()(), kFirstOutputsOf42[0]);
    GEP::setClockSeedOverride(std::nullopt);
}

TEST(IntChooser, DegenerateAndSmallRanges) {
    std::mt19937 source(42);
    GEP::IntChooser zero(source, 0, 0);
    GEP::IntChooser oneToThree(source, 1, 3);
    std::set<uint32_t> seen;
    for (int i = 0; i < 500; ++i) {
        ASSERT_EQ(zero(), 0u);
        const uint32_t v = oneToThree();
        ASSERT_GE(v, 1u);
        ASSERT_LE(v, 3u);
        seen.insert(v);
    }
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_THROW(GEP::IntChooser(source, 5, 4), std::invalid_argument);
}

// Divisors worked out by hand from the span/divisor rule: exact divisors of
// 2^31 use span / r, other ranges halve the span of 2^31 while
// (span / r) / 32 >= r, doubling the divisor from 2.
TEST(IntChooser, SpanDivisorRule) {
    struct Case {
        uint32_t minimum, maximum, divisor;
    };
    const Case cases[] = {
        {0, 0, 1u << 31},   // r = 1 divides 2^31
        {0, 3, 1u << 29},   // r = 4 divides 2^31
        {5, 68, 1u << 25},  // r = 64 divides 2^31
        {1, 3, 1u << 24},   // r = 3: span halved down to 2^8
        {0, 20, 1u << 19},  // r = 21 (the trading terminals): span 2^13
        {0, 99, 1u << 14},  // r = 100 (the trading population): span 2^18
        {0, 22, 1u << 18},  // r = 23 (the trading gene length): span 2^14
    };
    for (const Case& c : cases) {
        std::mt19937 source(42);
        std::mt19937 reference(42);
        GEP::IntChooser chooser(source, c.minimum, c.maximum);
        EXPECT_EQ(chooser.divisor(), c.divisor) << c.minimum << ".." << c.maximum;
        const uint32_t r = c.maximum - c.minimum + 1;
        for (int i = 0; i < 200; ++i)
            ASSERT_EQ(chooser(), (static_cast<uint32_t>(reference()) / c.divisor) % r + c.minimum);
    }
}

TEST_F(EngineTest, BuildingASymbolGeneratorReseedsTheSymbolSource) {
    gep_test::SetUpTradingEngine();
    GEP::setClockSeedOverride(9);
    GEP::symbolSource().discard(5);
    GEP::SymbolGenerator generator;
    EXPECT_EQ(GEP::symbolSource()(), std::mt19937(9)());
}

}  // namespace
