// Pins the order of the engine's random draws: an independent model replays
// every choice from its own copies of the sources and must give the engine's symbols.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "engine_fixture.h"
#include "gep/individual.h"
#include "gep/population.h"
#include "gep/symbol_generator.h"

namespace {

using GEP::Symbol;
using Symbols = std::vector<Symbol>;
using Generator = GEP::SymbolGenerator;

constexpr uint32_t kSeed = 1234;  // the clock seed override of EngineTest

// Uniform integer in [a, b]: halve a span of 2^31 while (span / r) / 32 >= r,
// unless r divides it; the draw is ((x / d) mod r) + a.
uint32_t Uniform(std::mt19937& source, uint32_t a, uint32_t b) {
    const uint32_t r = b - a + 1;
    uint32_t span = 1u << 31;
    uint32_t d = 2;
    if (span % r == 0) {
        d = span / r;
    } else {
        while ((span / r) / 32 >= r) {
            span /= 2;
            d *= 2;
        }
    }
    return (static_cast<uint32_t>(source()) / d) % r + a;
}

// Every random choice of a SymbolGenerator, in the engine's order, over
// h = 6, t = 7, 3 genes, 5 terminals, "sqrt" and "+ *".
struct Model {
    std::mt19937 symbol{kSeed};
    std::mt19937 real{42};
    size_t h = 6, l = 13, genes = 3, terminals = 5, f1 = 1, f2 = 2;
    size_t inversionLength = 4, transposonLength = 3;

    uint32_t Int(size_t a, size_t b) { return Uniform(symbol, static_cast<uint32_t>(a), static_cast<uint32_t>(b)); }
    double U01() {
        double u;
        do u = static_cast<double>(real()) / 4294967296.0;
        while (u >= 1.0);
        return u;
    }
    Symbol Terminal() { return static_cast<Symbol>(1 + Int(0, terminals - 1)); }
    Symbol Head() {
        if (U01() > 0.7) return Terminal();
        if (U01() < static_cast<double>(f1) / static_cast<double>(f1 + f2)) return static_cast<Symbol>(-Int(0, f1 - 1));
        return static_cast<Symbol>(-static_cast<int>(f1 + Int(0, f2 - 1)));
    }
    size_t Gene() { return Int(0, genes - 1); }
    size_t Position() { return Int(0, l - 1); }
    size_t HeadPosition() { return Int(0, h - 1); }

    void Generate(Symbols& s) {
        s.assign(genes * l, 0);
        for (size_t g = 0; g < genes; ++g)
            for (size_t p = 0; p < l; ++p) s[g * l + p] = p < h ? Head() : Terminal();
    }
    void Mutation(Symbols& s) {
        const size_t p = Position();
        const size_t g = Gene();
        s[g * l + p] = p >= h ? Terminal() : Head();
    }
    void Inversion(Symbols& s) {
        const size_t g = Gene();
        const size_t start = HeadPosition();
        const size_t length = std::min(inversionLength, h - start);
        if (length >= 2) std::reverse(s.begin() + g * l + start, s.begin() + g * l + start + length);
    }
    // Copies first, then inserts symbol by symbol, dropping the head's last.
    void Transpose(Symbols& s, size_t gs, size_t ps, size_t lw, size_t gt, size_t pt) {
        const size_t a = gs * l + ps;
        const size_t length = std::min({lw, genes * l - a, h - pt});
        const Symbols copy(s.begin() + a, s.begin() + a + length);
        for (size_t k = 0; k < length; ++k) {
            Symbol* head = s.data() + gt * l;
            for (size_t q = h - 1; q > pt + k; --q) head[q] = head[q - 1];
            head[pt + k] = copy[k];
        }
    }
    void IsTransposition(Symbols& s) {
        const size_t lw = Int(1, transposonLength);
        const size_t gs = Gene();
        const size_t ps = Position();
        const size_t gt = Gene();
        size_t pt = HeadPosition();
        if (pt == 0) pt = Int(1, h - 1);
        Transpose(s, gs, ps, lw, gt, pt);
    }
    void RisTransposition(Symbols& s) {
        const size_t lw = Int(1, transposonLength);
        const size_t start = std::max<size_t>(HeadPosition(), 1);
        const size_t g = Gene();
        for (size_t p = start; p < h; ++p) {
            if (s[g * l + p] > 0) continue;
            Transpose(s, g, p, lw, Gene(), 0);
            return;
        }
    }
    void GeneTransposition(Symbols& s) {
        const size_t g1 = Gene();
        const size_t g2 = Gene();
        if (g1 != g2) std::swap_ranges(s.begin() + g1 * l, s.begin() + g1 * l + l, s.begin() + g2 * l);
    }
    static void Exchange(Symbols& a, Symbols& b, size_t from, size_t to) {
        for (size_t i = from; i < to; ++i) std::swap(a[i], b[i]);
    }
    void OnePoint(Symbols& a, Symbols& b) {
        const size_t g = Gene();
        const size_t p = Position();
        Exchange(a, b, g * l + p, genes * l);
    }
    void TwoPoint(Symbols& a, Symbols& b) {
        const size_t g1 = Gene();
        const size_t p1 = Position();
        const size_t g2 = Gene();
        const size_t p2 = Position();
        Exchange(a, b, g1 * l + p1, g1 * l + l);
        for (size_t g = g1 + 1; g < g2; ++g) Exchange(a, b, g * l, g * l + l);
        Exchange(a, b, g2 * l, g2 * l + p2);
    }
    void GeneRecombination(Symbols& a, Symbols& b) {
        const size_t g = Gene();
        Exchange(a, b, g * l, g * l + l);
    }
};

// The operators in the order the population applies them, each with its model.
const std::vector<std::pair<void (Generator::*)(GEP::Chromosome&), void (Model::*)(Symbols&)>> kSingles = {
    {&Generator::mutation, &Model::Mutation},
    {&Generator::inversion, &Model::Inversion},
    {&Generator::isTransposition, &Model::IsTransposition},
    {&Generator::risTransposition, &Model::RisTransposition},
    {&Generator::geneTransposition, &Model::GeneTransposition}};
const std::vector<std::pair<void (Generator::*)(GEP::Chromosome&, GEP::Chromosome&),
                            void (Model::*)(Symbols&, Symbols&)>>
    kPairs = {{&Generator::onePointRecombination, &Model::OnePoint},
              {&Generator::twoPointRecombination, &Model::TwoPoint},
              {&Generator::geneRecombination, &Model::GeneRecombination}};

class DrawOrderTest : public gep_test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        gep_test::SetUpEngine(5, "+", "sqrt", "+ *", 6, 3);
    }
};

// Each operator against the model, from fresh sources, 300 times on a
// freshly generated pair, so it meets many different chromosomes; the fills
// are compared too.
TEST_F(DrawOrderTest, EveryOperatorDrawsAndChangesAsTheModel) {
    for (size_t op = 0; op < kSingles.size() + kPairs.size(); ++op) {
        GEP::resetRandomSources();
        Generator generator;
        Model model;
        GEP::Chromosome a, b;
        Symbols expectedA, expectedB;
        int changed = 0;
        for (int round = 0; round < 300; ++round) {
            generator.generateRandom(a);
            generator.generateRandom(b);
            model.Generate(expectedA);
            model.Generate(expectedB);
            ASSERT_EQ(a.symbols(), expectedA) << "fill, operator " << op << ", round " << round;
            const Symbols before = expectedA;
            if (op < kSingles.size()) {
                (generator.*kSingles[op].first)(a);
                (model.*kSingles[op].second)(expectedA);
            } else {
                (generator.*kPairs[op - kSingles.size()].first)(a, b);
                (model.*kPairs[op - kSingles.size()].second)(expectedA, expectedB);
            }
            ASSERT_EQ(a.symbols(), expectedA) << "operator " << op << ", round " << round;
            ASSERT_EQ(b.symbols(), expectedB) << "operator " << op << ", round " << round;
            changed += expectedA != before;
        }
        EXPECT_GT(changed, 100) << "operator " << op;  // the comparison covered real changes
    }
}

// One application of the operators to a population, repeated: per individual
// one U01 per single-chromosome operator in the order mutation, inversion,
// IS, RIS, gene transposition, then per pair one U01 per recombination in the
// order one-point, two-point, gene; the operator's own draws follow its U01
// when it applies. Odd populations pair (1,2), (3,4); even ones (0,1), (2,3).
TEST_F(DrawOrderTest, OperatorApplicationOverAPopulation) {
    for (const uint16_t size : {5, 4}) {
        GEP::resetRandomSources();
        GEP::Population<GEP::Individual<>> population(size, 1);
        population.setProbabilities({0.3, 0.3, 0.3, 0.3, 0.3, 0.5, 0.5, 0.5});
        Model model;
        std::mt19937 selection(42);

        population.generate();
        std::vector<Symbols> expected(size);
        for (size_t i = 0; i < size; ++i) {
            model.Generate(expected[i]);
            ASSERT_EQ(population[i].chromosome().symbols(), expected[i]) << i;
            population[i].setFitness(static_cast<double>(i));
        }
        // Fitness i: every tournament goes to the higher index of the two drawn.
        population.tournamentSelection();
        std::vector<Symbols> next(size);
        for (size_t i = 0; i < size; ++i) {
            const size_t a = Uniform(selection, 0, size - 1u);
            next[i] = expected[std::max<size_t>(a, Uniform(selection, 0, size - 1u))];
        }

        int applied = 0;
        for (int round = 0; round < 20; ++round) {
            population.applyOperators();
            for (Symbols& s : next) {
                for (const auto& op : kSingles) {
                    if (model.U01() >= 0.3) continue;
                    (model.*op.second)(s);
                    ++applied;
                }
            }
            for (size_t i = size % 2; i + 1 < size; i += 2) {
                for (const auto& op : kPairs) {
                    if (model.U01() >= 0.5) continue;
                    (model.*op.second)(next[i], next[i + 1]);
                    ++applied;
                }
            }
            for (size_t i = 0; i < size; ++i)
                ASSERT_EQ(population.newIndividual(i).chromosome().symbols(), next[i])
                    << "population " << size << ", round " << round << ", " << i;
        }
        EXPECT_GT(applied, 60) << size;
    }
}

}  // namespace
