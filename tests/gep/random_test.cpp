#include <gtest/gtest.h>

#include <ctime>
#include <random>

#include "engine_fixture.h"
#include "gep/random.h"
#include "gep/symbol_generator.h"

namespace {

using gep_test::EngineTest;

// The sources' start from 42 and the draw rules are pinned by
// draw_order_test.cpp; here the clock seed and its override.
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
    EXPECT_EQ(GEP::selectionSource()(), std::mt19937(42)());
    EXPECT_EQ(GEP::realSource()(), std::mt19937(42)());
    GEP::setClockSeedOverride(std::nullopt);
    std::mt19937 source(42);  // the draw rule itself is replayed by draw_order_test.cpp
    EXPECT_THROW(GEP::IntChooser(source, 5, 4), std::invalid_argument);
}


TEST_F(EngineTest, BuildingASymbolGeneratorReseedsTheSymbolSource) {
    gep_test::SetUpTradingEngine();
    GEP::setClockSeedOverride(9);
    GEP::symbolSource().discard(5);
    GEP::SymbolGenerator generator;
    EXPECT_EQ(GEP::symbolSource()(), std::mt19937(9)());
}

}  // namespace
