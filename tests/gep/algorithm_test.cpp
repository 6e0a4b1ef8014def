#include <gtest/gtest.h>

#include <atomic>

#include "engine_fixture.h"
#include "gep/algorithm.h"
#include "gep/function_individual.h"
#include "gep/individual.h"

namespace {

using Ind = GEP::Individual<>;
using Record = Ind::Record;
using GEP::Symbol;

// Records what the default evaluation pass hands it (every record in
// order; whole runs through it: gep_command_test.cpp).
class ProbeIndividual : public GEP::Individual<> {
public:
    void resetCounters() override { seen.clear(); }
    void processRecord(const Record&, int) override { seen.push_back(GEP::Chromosome::terminals()[0]); }
    double computeFitness() override {
        fitness_ = 0.0;
        for (const double v : seen) fitness_ += v;
        return fitness_;
    }
    std::vector<double> seen;
};

// Its chromosome counts as invalid while the root is a terminal.
class FunctionRootIndividual : public GEP::Individual<> {
public:
    void processRecord(const Record&, int) override {
        if (chromosome_.symbols()[0] >= 1) chromosome_.setValid(false);
    }
};

std::vector<Record> Records(std::initializer_list<double> firstInputs) {
    std::vector<Record> records;
    for (const double v : firstInputs) records.push_back({{v, 0.0}, v * 10});
    return records;
}

class AlgorithmTest : public gep_test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        gep_test::SetUpEngine(2, "&", "~", "& |", 4, 2);
    }
};

// Search depth 10 with strict improvements in generations 1, 3 and 7: the
// stall count reaches 10 after generation 17 and the run ends there.
TEST_F(AlgorithmTest, RunEndsAfterStopLimitGenerationsWithoutImprovement) {
    GEP::Population<Ind> p(10, 2);
    GEP::Algorithm<Ind> algorithm(p, Records({1}));
    algorithm.setTestRuns(1);
    algorithm.setStopLimit(10);
    int evaluations = 0;
    algorithm.setEvaluator([&](std::span<Ind* const> batch, const std::vector<Record>&) {
        // Generation k's elitism sees evaluation k-1: 0 and 1 give 1.0, 2..5
        // give 2.0 (improves in generation 3), from 6 on 3.0 (generation 7).
        const double f = evaluations < 2 ? 1.0 : evaluations < 6 ? 2.0 : 3.0;
        for (Ind* individual : batch) individual->setFitness(f);
        ++evaluations;
    });
    std::vector<uint32_t> stalls;
    algorithm.setProgressCallback([&](const GEP::GenerationReport<Ind>& r) {
        stalls.push_back(r.stallCount);
        EXPECT_EQ(r.generation, stalls.size());
        EXPECT_EQ(r.testRun, 1u);
        EXPECT_EQ(&r.best, p.best());
    });
    algorithm.run();
    EXPECT_EQ(stalls, (std::vector<uint32_t>{0, 1, 0, 1, 2, 3, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(p.best()->fitness(), 3.0);
}

// Only the generation loop reads the run flag: a test run after the stop is
// still generated and evaluated (and so loses the stopped run's best), and
// invalid chromosomes are still regenerated.
TEST_F(AlgorithmTest, TheRunFlagStopsOnlyTheGenerations) {
    GEP::Population<ProbeIndividual> p(6, 1);
    GEP::Algorithm<ProbeIndividual> algorithm(p, Records({1, 2}));
    algorithm.setTestRuns(3);
    algorithm.setStopLimit(1000);
    std::atomic<bool> running{true};
    algorithm.setRunFlag(&running);
    int evaluations = 0;
    algorithm.setEvaluator([&](std::span<ProbeIndividual* const> batch, const std::vector<Record>& records) {
        ++evaluations;
        GEP::Algorithm<ProbeIndividual>::evaluateByRecords(batch, records);
    });
    std::vector<uint32_t> reportedRuns;
    algorithm.setProgressCallback([&](const auto& r) {
        reportedRuns.push_back(r.testRun);
        if (r.generation == 3) running = false;
    });
    algorithm.run();
    EXPECT_EQ(reportedRuns, (std::vector<uint32_t>{1, 1, 1}));
    EXPECT_EQ(evaluations, 1 + 3 + 1 + 1);  // test run 1 and its 3 generations, then runs 2 and 3
    EXPECT_EQ(p.best(), nullptr);          // dropped by the last GENERATE
    EXPECT_EQ(p[0].fitness(), 3.0);

    GEP::Population<FunctionRootIndividual> q(40, 1);
    GEP::Algorithm<FunctionRootIndividual> stopped(q, Records({1}));
    stopped.setRunFlag(&running);
    int reports = 0;
    stopped.setProgressCallback([&](const auto&) { ++reports; });
    stopped.run();
    EXPECT_EQ(reports, 0);
    EXPECT_EQ(q.best(), nullptr);
    for (size_t i = 0; i < q.size(); ++i) EXPECT_TRUE(q[i].valid()) << i;
}

TEST_F(AlgorithmTest, RefusesToRunWithoutRecordsOrTerminals) {
    GEP::Population<Ind> p(4, 1);
    GEP::Algorithm<Ind> empty(p, {});
    EXPECT_THROW(empty.run(), std::invalid_argument);
    GEP::Chromosome::setTerminals({});
    GEP::Algorithm<Ind> noTerminals(p, Records({1}));
    EXPECT_THROW(noTerminals.run(), std::invalid_argument);
}

// Positions the real source so that the next head symbols drawn for a head
// of one are: a function, a function, a terminal. A function takes two U01
// draws (function or not, one-argument or not), a terminal one.
void LineUpFunctionFunctionTerminal() {
    const auto isFunction = [](std::mt19937& real) { return real() / 4294967296.0 <= 0.7; };
    for (;;) {
        std::mt19937 real = GEP::realSource();
        const bool first = isFunction(real);
        real.discard(1);
        const bool second = first && isFunction(real);
        real.discard(1);
        if (second && !isFunction(real)) return;
        GEP::realSource().discard(1);
    }
}

// Retries feed the records without a reset and compute fitness only once the
// chromosome is valid: a FunctionIndividual that needs two retries keeps the
// scores of both passes.
TEST_F(AlgorithmTest, RetriedIndividualsAccumulateTheirPasses) {
    using Fn = GEP::FunctionIndividual<>;
    gep_test::SetUpEngine(1, "", "ln", "", 1, 1);  // "ln a" or "a"
    testing::internal::CaptureStdout();            // "No two argument functions"
    GEP::Population<Fn> p(1, 1);
    testing::internal::GetCapturedStdout();
    // ln 1 = 0 misses 1 by 1 (9); ln 0 fails (value 0, an exact 10); the
    // plain terminal hits both (10 + 10).
    GEP::Algorithm<Fn> algorithm(p, {{{1.0}, 1.0}, {{0.0}, 0.0}});
    LineUpFunctionFunctionTerminal();
    p.generate();
    algorithm.evaluateAll();
    ASSERT_FALSE(p[0].valid());
    EXPECT_EQ(p[0].fitness(), 19.0);
    algorithm.regenerateInvalid();  // "ln a" again, then "a"
    EXPECT_TRUE(p[0].valid());
    EXPECT_EQ(p[0].chromosome().symbols(), (std::vector<Symbol>{1, 1}));
    EXPECT_EQ(p[0].fitness(), 19.0 + 20.0);
    EXPECT_EQ(p[0].score(), 0.0);
}

// A whole seeded run that finds an exact rule, twice alike: korvel-cli gep
// (gep_command_test.cpp).

}  // namespace
