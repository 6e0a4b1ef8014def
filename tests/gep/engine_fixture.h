#pragma once
// Shared set-up of the engine for the gep tests: the engine state helpers
// of tests/support, the trading shape, and the tail of a gene.
#include <gtest/gtest.h>

#include <vector>

#include "../support/engine_state.h"
#include "gep/chromosome.h"

namespace gep_test {

using testing_support::EngineTest;
using testing_support::SetUpEngine;

// The trading shape: 21 terminals, "~", "& |", linked by "&", h = 11, 3 genes.
inline void SetUpTradingEngine() { SetUpEngine(21, "&", "~", "& |", 11, 3); }

inline std::vector<GEP::Symbol> TailOf(const GEP::Chromosome& c, size_t gene) {
    const size_t l = GEP::Chromosome::geneLength();
    const auto first = c.symbols().begin() + static_cast<std::ptrdiff_t>(gene * l + GEP::Chromosome::headLength());
    return {first, first + GEP::Chromosome::tailLength()};
}

}  // namespace gep_test
