#include <gtest/gtest.h>

#include <string>

#include "../support/file_content.h"
#include "../support/temp_dir.h"
#include "gep/config.h"

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

}  // namespace
