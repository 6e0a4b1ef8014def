#pragma once
// Shared set-up of the engine's class-wide state for the gep tests. Every
// test that sets the chromosome shape derives from EngineTest, which
// releases the functions and the seed override afterwards, so tests stay
// independent of their order.
#include <gtest/gtest.h>

#include <optional>
#include <string_view>
#include <vector>

#include "gep/chromosome.h"
#include "gep/random.h"

namespace gep_test {

inline void SetUpEngine(size_t terminals, std::string_view linking, std::string_view oneArgs,
                        std::string_view twoArgs, uint16_t head, uint16_t genes) {
    GEP::Chromosome::setTerminals(std::vector<double>(terminals, 0.0));
    GEP::Chromosome::setLinkingFunction(linking);
    GEP::Chromosome::setOneArgFunctions(oneArgs);
    GEP::Chromosome::setTwoArgFunctions(twoArgs);
    GEP::Chromosome::setHeadLength(head);
    GEP::Chromosome::setNumGenes(genes);
}

// The trading shape: 21 terminals, "~", "& |", linked by "&", h = 11, 3 genes.
inline void SetUpTradingEngine() { SetUpEngine(21, "&", "~", "& |", 11, 3); }

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        GEP::resetRandomSources();
        GEP::setClockSeedOverride(1234);
    }
    void TearDown() override {
        GEP::Chromosome::releaseFunctions();
        GEP::Chromosome::setTerminals({});
        GEP::setClockSeedOverride(std::nullopt);
    }
};

inline std::vector<GEP::Symbol> TailOf(const GEP::Chromosome& c, size_t gene) {
    const size_t l = GEP::Chromosome::geneLength();
    const auto first = c.symbols().begin() + static_cast<std::ptrdiff_t>(gene * l + GEP::Chromosome::headLength());
    return {first, first + GEP::Chromosome::tailLength()};
}

}  // namespace gep_test
