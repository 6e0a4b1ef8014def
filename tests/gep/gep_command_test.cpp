// End to end: korvel-cli gep on the bundled data sets.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "../support/run_process.h"
#include "../support/temp_dir.h"

namespace {

using testing_support::ProcessResult;
using testing_support::RunProcess;

const std::string kCli = KORVEL_CLI_PATH;
const std::string kData = std::string(KORVEL_SOURCE_DIR) + "/data/gep/";

std::string Ending(const std::string& text) { return text.substr(text.size() > 300 ? text.size() - 300 : 0); }

TEST(GepCommand, FindsTheExclusiveOrReproducibly) {
    const std::vector<std::string> command{kCli, "gep", kData + "xor.cfg", kData + "xor.csv", "--classify", "--seed", "7"};
    const ProcessResult first = RunProcess(command);
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(first.out.rfind("Chromosome:: HeadLength:6; NumGenes:3; Terminals:5; OneArgs:~; TwoArgs:& |; Linked:&;", 0), 0u)
        << first.out;
    EXPECT_NE(first.out.find("\ngeneration 1 best "), std::string::npos);
    EXPECT_EQ(first.out.find("test run"), std::string::npos);  // TestRuns 1: no run headings
    // The best individual closes the output.
    const std::string tail = first.out.substr(first.out.rfind("\ngeneration ") + 1);
    EXPECT_NE(tail.find("\nClassification Individual: Fitness = 1000\nTP: 16 TN: 16 FP: 0 FN: 0 Sum: 32\n> 3 Genes"),
              std::string::npos)
        << tail;
    EXPECT_EQ(std::count(tail.begin(), tail.end(), '\n'), 1 + 2 + 4);
    // The run ends once the best has not improved for Generations (30) generations.
    EXPECT_NE(first.out.find(" stall 30\nClassification Individual"), std::string::npos);
    EXPECT_EQ(RunProcess(command).out, first.out);
}

TEST(GepCommand, FunctionIndividualsFitAQuadratic) {
    const ProcessResult r =
        RunProcess({kCli, "gep", kData + "quadratic.cfg", kData + "quadratic.csv", "--seed", "7"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // 21 cases, each worth 10 when exact.
    EXPECT_NE(r.out.find("Function Individual: Fitness = 210\n"), std::string::npos) << Ending(r.out);
}

TEST(GepCommand, BadInputIsReported) {
    const testing_support::TempDir dir;
    const std::string cases = (dir / "bad.csv").string(), missing = (dir / "missing.cfg").string();
    const struct {
        const char* csv;
        std::vector<std::string> args;
        int exitCode;
        const char* says;
    } runs[] = {
        {"a,b,target\n1,0,1\n1,x,0\n", {kData + "xor.cfg", cases, "--classify"}, 1, "bad.csv line 3: 'x' is not a number"},
        {"1,0,1\n0,0,0\n", {kData + "xor.cfg", cases, "--classify"}, 1, "Terminals is 5 but the cases have 2 input columns"},
        {"", {missing, cases}, 1, "cannot open the configuration file"},
        {"", {kData + "xor.cfg"}, 2, ""},
    };
    for (const auto& run : runs) {
        if (*run.csv) std::ofstream(cases) << run.csv;
        std::vector<std::string> command = {kCli, "gep"};
        command.insert(command.end(), run.args.begin(), run.args.end());
        const ProcessResult r = RunProcess(command);
        EXPECT_EQ(r.exitCode, run.exitCode) << run.says;
        EXPECT_NE(r.err.find(run.says), std::string::npos) << r.err;
    }
}

}  // namespace
