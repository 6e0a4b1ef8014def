#pragma once
// The engine's class-wide state in tests: the chromosome shape a test sets,
// and a fixture that puts the random sources, the shape and the seed
// override back as they were, so tests stay independent of their order.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "gep/chromosome.h"
#include "gep/random.h"

namespace testing_support {

// `terminals` inputs (all 0), the named functions, head length and genes.
inline void SetUpEngine(size_t terminals, std::string_view linking, std::string_view oneArgs,
                        std::string_view twoArgs, uint16_t head, uint16_t genes) {
    GEP::Chromosome::setTerminals(std::vector<double>(terminals, 0.0));
    GEP::Chromosome::setLinkingFunction(linking);
    GEP::Chromosome::setOneArgFunctions(oneArgs);
    GEP::Chromosome::setTwoArgFunctions(twoArgs);
    GEP::Chromosome::setHeadLength(head);
    GEP::Chromosome::setNumGenes(genes);
}

// Every test touching the chromosome shape or the random sources derives
// from this; it seeds the clock with 1234.
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

}  // namespace testing_support
