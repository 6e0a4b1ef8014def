// The operator cores and the generator's draws are held against an
// independent model in draw_order_test.cpp; these are the properties that
// must hold for every chromosome shape.
#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "gep/symbol_generator.h"

namespace {

using GEP::Symbol;
using gep_test::EngineTest;

using SymbolGeneratorTest = EngineTest;

// Tails hold terminals whatever sequence of operators runs, and heads hold
// only known symbols.
TEST_F(SymbolGeneratorTest, TailsStayTerminalUnderEveryOperator) {
    for (const auto& setUp : {gep_test::SetUpTradingEngine, +[] { gep_test::SetUpEngine(4, "+", "sqrt", "+ *", 4, 2); },
                              +[] { gep_test::SetUpEngine(3, "*", "ln exp", "", 6, 3); }}) {
        setUp();
        GEP::SymbolGenerator generator;
        generator.setTransposonLength(5);
        generator.setInversionLength(7);
        std::vector<GEP::Chromosome> pool(6);
        for (auto& c : pool) generator.generateRandom(c);
        std::mt19937 pick(5);
        const int functions = static_cast<int>(GEP::Chromosome::oneArgFunctions().size() +
                                               GEP::Chromosome::twoArgFunctions().size());
        for (int step = 0; step < 20000; ++step) {
            GEP::Chromosome& a = pool[pick() % pool.size()];
            GEP::Chromosome& b = pool[pick() % pool.size()];
            switch (pick() % 8) {
                case 0: generator.mutation(a); break;
                case 1: generator.inversion(a); break;
                case 2: generator.isTransposition(a); break;
                case 3: generator.risTransposition(a); break;
                case 4: generator.geneTransposition(a); break;
                case 5: generator.onePointRecombination(a, b); break;
                case 6: generator.twoPointRecombination(a, b); break;
                default: generator.geneRecombination(a, b); break;
            }
            ASSERT_EQ(a.symbols().size(), generator.shape().size());
            for (size_t g = 0; g < GEP::Chromosome::numGenes(); ++g)
                for (const Symbol s : gep_test::TailOf(a, g))
                    ASSERT_TRUE(s >= 1 && static_cast<size_t>(s) <= GEP::Chromosome::terminalCount()) << step;
            for (const Symbol s : a.symbols()) ASSERT_GT(s, -functions);
            a.value();  // every chromosome stays evaluable (the sanitizers watch)
        }
    }
}

}  // namespace
