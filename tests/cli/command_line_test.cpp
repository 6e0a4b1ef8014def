// korvel-cli's command line: help for every command, --dir anywhere, and
// exit status 2 for every kind of usage error.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "../support/run_process.h"
#include "../support/temp_dir.h"

namespace {

using testing::HasSubstr;
using testing_support::ProcessResult;
using testing_support::RunProcess;

ProcessResult Cli(const std::vector<std::string>& words) {
    std::vector<std::string> argv = {KORVEL_CLI_PATH};
    argv.insert(argv.end(), words.begin(), words.end());
    return RunProcess(argv);
}

// The command names the top-level help lists under "SUBCOMMANDS".
std::vector<std::string> CommandNames() {
    std::istringstream help(Cli({"--help"}).out);
    std::vector<std::string> names;
    bool inList = false;
    for (std::string line; std::getline(help, line);) {
        if (line.rfind("SUBCOMMANDS", 0) == 0 || line.rfind("Subcommands", 0) == 0) inList = true;
        else if (inList && line.rfind("  ", 0) == 0) names.push_back(line.substr(2, line.find(' ', 2) - 2));
        else if (inList && !line.empty()) break;
    }
    return names;
}

TEST(CommandLine, EveryCommandHasItsOwnHelp) {
    const std::vector<std::string> names = CommandNames();
    ASSERT_GE(names.size(), 14u);
    for (const std::string& name : names) {
        if (name == "help") continue;
        const ProcessResult r = Cli({name, "--help"});
        EXPECT_EQ(r.exitCode, 0) << name << r.err;
        EXPECT_THAT(r.out, HasSubstr("Usage: korvel-cli " + name)) << name;
    }
    EXPECT_EQ(Cli({"help", "breed"}).out, Cli({"breed", "--help"}).out);
    const ProcessResult none = Cli({});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_THAT(none.err, HasSubstr("Exit status"));
}

TEST(CommandLine, DirIsAcceptedAnywhere) {
    testing_support::TempDir dir;
    const std::string d = dir.path().string();
    for (const std::vector<std::string>& words : {std::vector<std::string>{"--dir", d, "settings"},
                                                  {"settings", "--dir", d},
                                                  {"settings", "set", "--dir", d, "EVOLUTE_STEPS", "70"},
                                                  {"settings", "set", "EVOLUTE_STEPS", "70", "--dir=" + d}}) {
        const ProcessResult r = Cli(words);
        EXPECT_EQ(r.exitCode, 0) << words.back() << r.err;
    }
    EXPECT_TRUE(std::filesystem::exists(dir / "thedb.db3"));
    EXPECT_THAT(Cli({"settings", "--dir", d}).out, HasSubstr("EVOLUTE_STEPS\t70"));
}

TEST(CommandLine, UsageErrorsExitWithTwoAndNameTheCommand) {
    testing_support::TempDir dir;
    const std::string d = dir.path().string();
    const struct {
        std::vector<std::string> words;
        const char* said;
    } cases[] = {
        {{"frob"}, "unknown command 'frob'"},
        {{"help", "frob"}, "unknown command 'frob'"},
        {{"breed", "SS"}, "CODE"},
        {{"breed", "SS", "600000", "--style", "5"}, "--style"},
        {{"breed", "SS", "600000", "--depth", "99999999999999999999"}, "--depth"},
        {{"breed", "SS", "600000", "--evaluator", "slow"}, "--evaluator"},
        {{"breed", "SS", "600000", "--seed", "-1"}, "--seed"},
        {{"breed", "SS", "60000000000000000"}, "16 bytes"},
        {{"conditions", "SS", "600000", "--bogus"}, "--bogus"},
        {{"watch", "list"}, "list"},
        {{"watch", "add", "SS"}, "watch add"},
        {{"settings", "frob"}, "frob"},
        {{"settings", "set", "HOST"}, "VALUE"},
        {{"status", "--switch", "6"}, "--switch"},
        {{"open", "SS", "600000", "--year", "99"}, "--year"},
        {{"cleanup", "600000"}, "MARKET:CODE"},
        {{"sync", "now"}, "now"},
        {{"--dir"}, "--dir"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> words = c.words;
        if (words.front() != "--dir") words.insert(words.end(), {"--dir", d});
        const ProcessResult r = Cli(words);
        EXPECT_EQ(r.exitCode, 2) << words[0] << " " << c.said << "\n" << r.err;
        EXPECT_THAT(r.err, HasSubstr(c.said)) << words[0];
        EXPECT_EQ(r.out, "") << words[0];
    }
    // No usage error touched the folder.
    EXPECT_FALSE(std::filesystem::exists(dir / "thedb.db3"));
}

}  // namespace
