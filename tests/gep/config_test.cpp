#include <gtest/gtest.h>

#include <string>

#include "../support/file_content.h"
#include "../support/temp_dir.h"
#include "gep/config.h"
#include "gep/enum_texts.h"

namespace {

// A configuration file with `text`, in a folder of its own that goes with it.
class ConfigFile {
public:
    explicit ConfigFile(const std::string& text) { testing_support::WriteFile(dir_ / "engine.cfg", text); }
    std::string path() const { return (dir_ / "engine.cfg").string(); }

private:
    testing_support::TempDir dir_;
};

TEST(EngineConfigReading, KeysCommentsAndBlanks) {
    const ConfigFile file(
        "# HeadLength 9\n"
        "   HeadLength    7  \n"
        "\n"
        "NumGenes 3\r\n"
        "OneArgFunctions sqrt  sin\n"
        "TwoArgFunctions\t+ -   *\n"
        "LinkingFunction + extra\n"
        "BreakOnMax Yes\n"
        "VerboseOutput yes\n"
        "headlength 99\n"
        "UnknownKey 5\n"
        "PopSize 50abc\n"
        "ArchSize 70000\n"
        "TestRuns -3\n"
        "MutationProbability x\n"
        "InversionProbability 0.25\n"
        "InversionProbability 0.5\n"
        "WeightFN\n"
        "RoundingThreshold .5e0\n");
    const GEP::EngineConfig c = GEP::readEngineConfig(file.path());
    EXPECT_EQ(c.headLength, 7);
    EXPECT_EQ(c.numGenes, 3);
    EXPECT_EQ(c.oneArgFunctions, "sqrt sin");
    EXPECT_EQ(c.twoArgFunctions, "+ - *");
    EXPECT_EQ(c.linkingFunction, "+");
    EXPECT_FALSE(c.breakOnMax);
    EXPECT_TRUE(c.verboseOutput);
    EXPECT_FALSE(c.frontEvolution);
    EXPECT_EQ(c.popSize, 50);
    EXPECT_EQ(c.archSize, 65535);
    EXPECT_EQ(c.testRuns, 0);
    EXPECT_EQ(c.mutationProbability, 0.0);
    EXPECT_EQ(c.inversionProbability, 0.5);  // the last occurrence wins
    EXPECT_EQ(c.weightFN, 0.0);
    EXPECT_EQ(c.roundingThreshold, 0.5);
}

TEST(EngineConfigReading, MissingFileGivesTheZeroRecord) {
    testing::internal::CaptureStdout();
    const GEP::EngineConfig c = GEP::readEngineConfig("/nonexistent/korvel/engine.cfg");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Unable to open file\n");
    EXPECT_EQ(GEP::renderEngineConfig(c), GEP::renderEngineConfig(GEP::EngineConfig{}));
}

TEST(EngineConfigRendering, ZeroRecord) {
    EXPECT_EQ(GEP::renderEngineConfig({}),
              "Chromosome:: HeadLength:0; NumGenes:0; Terminals:0; OneArgs:; TwoArgs:; Linked:; "
              "RoundingThreshold:0; WeightFP:0; WeightFN:0Population::PopSize:0; EliteSize:0; ArchSize:0; "
              "InversionLength:0; TransposonLength:0; MutationProbability:0; InversionProbability:0; "
              "TranspositionISProbability:0; TranspositionRISProbability:0; TranspositionGeneProbability:0; "
              "OnePointCrossoverProbability:0; TwoPointCrossoverProbability:0; "
              "GenePointCrossoverProbability:0GEP Algorithm::Generations:0; ArchGen:0; TestRuns:0");
}

TEST(EngineConfigRendering, ValuesInTheDefaultStreamForm) {
    GEP::EngineConfig c;
    c.headLength = 11;
    c.weightFN = 2.5;
    c.genePointCrossoverProbability = 1.0 / 3.0;
    c.generations = 50;
    c.twoArgFunctions = "& |";
    c.breakOnMax = true;  // flags are not rendered
    const std::string text = GEP::renderEngineConfig(c);
    EXPECT_NE(text.find("HeadLength:11; "), std::string::npos);
    EXPECT_NE(text.find("TwoArgs:& |; "), std::string::npos);
    EXPECT_NE(text.find("WeightFN:2.5Population::PopSize:0; "), std::string::npos);
    EXPECT_NE(text.find("GenePointCrossoverProbability:0.333333GEP Algorithm::Generations:50; "), std::string::npos);
    EXPECT_EQ(text.find("Break"), std::string::npos);
}

TEST(EnumTexts, KnownAndUnknownValues) {
    EXPECT_EQ(GEP::randomSourceText(2), "MT19937");
    EXPECT_EQ(GEP::randomSourceText(3), "Unknown");
    EXPECT_EQ(GEP::distributionText(2), "REVERSE_EXPONENTIAL");
    EXPECT_EQ(GEP::distributionText(5), "UNDEFINED");
    EXPECT_EQ(GEP::distributionText(-1), "Unknown");
    EXPECT_EQ(GEP::traceLevelText(255), "ANY");
    EXPECT_EQ(GEP::traceLevelText(3), "Unknown");
    EXPECT_EQ(GEP::runStageText(2), "ASSIGN_INPUT_VALUE_TO_TERMINALS");
    EXPECT_EQ(GEP::runStageText(128), "INDIVIDUAL_OPERATOR");
    EXPECT_EQ(GEP::runStageText(3), "Unknown");  // a set of stages has no single name
    EXPECT_EQ(GEP::cheatModeText(2), "CHEAT_OVER_SEQUENTIAL_ORDER");
    EXPECT_EQ(GEP::cheatModeText(3), "Unknown");
}

}  // namespace
