#include <gtest/gtest.h>

#include <cmath>

#include "engine_fixture.h"
#include "gep/classification_individual.h"
#include "gep/function_individual.h"
#include "gep/individual_settings.h"

namespace {

using Record = GEP::TrainingRecord<>;

// One gene whose root is terminal a: the chromosome's value is the input.
class IndividualsTest : public gep_test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        gep_test::SetUpEngine(1, "&", "~", "& |", 1, 1);
        saved_ = GEP::individualSettings();
    }
    void TearDown() override {
        GEP::individualSettings() = saved_;
        EngineTest::TearDown();
    }
    template <class I>
    static I Make() {
        I individual;
        individual.chromosome().symbols() = {1, 1, 1};
        return individual;
    }
    template <class I>
    static void Feed(I& individual, double value, double target, int times = 1) {
        const Record record{{value}, target};
        for (int i = 0; i < times; ++i) {
            GEP::Chromosome::assignInputs(record.inputs);
            individual.processRecord(record, 0);
        }
    }
    GEP::IndividualSettings saved_;
};

// Fitness 1000 * sensitivity * specificity with the false cases weighted;
// a side without cases counts as fully right; counts reset after each pass.
TEST_F(IndividualsTest, ClassificationFitness) {
    GEP::individualSettings().weightFP = 3.0;
    auto c = Make<GEP::ClassificationIndividual<>>();
    EXPECT_EQ(c.computeFitness(), 0.0);  // no case at all
    Feed(c, 0.0, 0.0, 8);  // true negatives
    Feed(c, 1.0, 0.0, 2);  // false positives
    EXPECT_DOUBLE_EQ(c.computeFitness(), 800.0);
    EXPECT_EQ(c.trueNegatives(), 0.0);
    GEP::individualSettings() = saved_;
    GEP::individualSettings().weightFN = 2.0;
    Feed(c, 0.9, 1.0, 5);  // above the threshold: true positives
    Feed(c, 0.5, 1.0, 5);  // not above it: false negatives
    Feed(c, -3.0, 0.0, 10);
    EXPECT_NEAR(c.computeFitness(), 1000.0 / 3.0, 1e-9);  // its text form: gep_command_test.cpp
    GEP::individualSettings() = saved_;
    Feed(c, 1.0, 2.0, 3);
    Feed(c, 0.0, 2.0, 1);
    EXPECT_DOUBLE_EQ(c.computeFitness(), 750.0);  // only positives
    Feed(c, 1.0, 1.0, 3);
    c.chromosome().setValid(false);
    EXPECT_EQ(c.computeFitness(), 0.0);
}

TEST_F(IndividualsTest, FunctionScores) {
    auto f = Make<GEP::FunctionIndividual<>>();
    Feed(f, 0.01, 0.0);
    EXPECT_DOUBLE_EQ(f.score(), 9.99);
    Feed(f, 1.005, 1.0);
    EXPECT_DOUBLE_EQ(f.score(), 19.99);
    Feed(f, 12.0, 0.0);  // an error above 10 lowers the score
    EXPECT_DOUBLE_EQ(f.computeFitness(), 17.99);
    EXPECT_EQ(f.score(), 0.0);
    EXPECT_EQ(f.toString(), "Function Individual: Fitness = 17.99\n> 1 Genes linked by: &\n0)  H: a. T: a.a..");
    // An output that is not a number fails "error >= precision", so the case
    // adds the full selection range.
    Feed(f, 0.5, 0.0);
    Feed(f, std::nan(""), 0.0);
    EXPECT_DOUBLE_EQ(f.computeFitness(), 9.5 + 10.0);
}

}  // namespace
