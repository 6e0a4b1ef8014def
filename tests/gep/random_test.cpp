#include <gtest/gtest.h>

#include <ctime>
#include <random>

#include "gep/random.h"

namespace {

// The sources' start from 42, the clock seed override (which reseeds the
// symbol source alone, also when a SymbolGenerator is built) and the draw
// rules are pinned by draw_order_test.cpp; here the clock seed without it.
TEST(RandomSources, ClockReseedUsesTheTimeWithoutAnOverride) {
    GEP::setClockSeedOverride(std::nullopt);
    const auto before = static_cast<uint32_t>(std::time(nullptr));
    GEP::reseedSymbolSource();
    const auto after = static_cast<uint32_t>(std::time(nullptr));
    const uint32_t drawn = GEP::symbolSource()();
    EXPECT_TRUE(drawn == std::mt19937(before)() || drawn == std::mt19937(after)());
    GEP::resetRandomSources();

    std::mt19937 source(42);
    EXPECT_THROW(GEP::IntChooser(source, 5, 4), std::invalid_argument);
}

}  // namespace
