// korvel-cli breed --watch-list end to end on a client synchronised from the
// bundled data: what is stored, the table, --jobs, and Ctrl-C.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "../support/run_process.h"
#include "../support/server_process.h"
#include "strategy_fixture.h"

namespace {

using testing_support::Lines;
using testing_support::ProcessResult;
using testing_support::ReadFile;
using testing_support::RunCli;

// Four bundled stocks, the index and a stock the server does not know.
const char* const kWatched[][2] = {{"SS", "600000"}, {"SS", "600519"}, {"SZ", "000651"},
                                   {"SZ", "000858"}, {"SS", "000001"}, {"SZ", "300999"}};
constexpr size_t kBred = 5;

class WatchListBreed : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        synced_ = new testing_support::TempDir;
        testing_support::TempDir server;
        ASSERT_EQ(testing_support::RunServerCommand({"init-demo", "--data", server.path().string()}).exitCode, 0);
        testing_support::ServerProcess serving(server.path().string(), (server.path() / "serve.log").string());
        const auto cli = [](std::vector<std::string> words) {
            const ProcessResult r = RunCli(synced_->path(), words);
            ASSERT_EQ(r.exitCode, 0) << r.err;
        };
        cli({"init"});
        cli({"settings", "set", "HOST", serving.host()});
        cli({"sync"});  // the stock list, which watch add checks
        for (size_t i = 0; i < kBred; ++i) cli({"watch", "add", kWatched[i][0], kWatched[i][1]});
        // A stock the stock list does not hold can still be watched (an older
        // list, a pool of another server).
        ASSERT_TRUE(Database::Open((synced_->path() / "thedb.db3").string())
                        ->Exec("INSERT INTO SECRET(MARKET, CODE, VRSN) VALUES('SZ', '300999', 1106)"));
        cli({"sync"});
    }
    static void TearDownTestSuite() { delete synced_; }

    // A copy of the synchronised client in a folder of its own.
    static std::unique_ptr<testing_support::TempDir> Client() {
        auto dir = std::make_unique<testing_support::TempDir>();
        std::filesystem::copy_file(synced_->path() / "thedb.db3", dir->path() / "thedb.db3");
        return dir;
    }

    static std::string Strategies(const std::filesystem::path& dir) {
        std::optional<Database> db = Database::Open((dir / "thedb.db3").string());
        return strategy_test::Rows(*db, "SELECT MARKET, CODE, NUMS, LENG, CRPT, INDI, DBGN, DEND, hex(GENE) "
                                        "FROM SECRET ORDER BY MARKET, CODE") +
               strategy_test::Rows(*db, "SELECT * FROM TRADELOG ORDER BY MARKET, CODE, DDATE");
    }

    static inline testing_support::TempDir* synced_ = nullptr;
};

TEST_F(WatchListBreed, EveryWatchedStockIsStoredAndOneProcessStoresTheSameAsTwo) {
    const auto two = Client(), one = Client();
    const std::vector<std::string> words = {"breed", "--watch-list", "--save", "--seed", "5", "--depth", "3"};
    std::vector<std::string> withJobs = words;
    withJobs.insert(withJobs.end(), {"--jobs", "2"});
    const ProcessResult r = RunCli(two->path(), withJobs);
    withJobs.back() = "1";
    const ProcessResult r1 = RunCli(one->path(), withJobs);

    for (const ProcessResult* run : {&r, &r1}) {
        EXPECT_EQ(run->exitCode, 1);  // the unknown stock
        EXPECT_NE(run->err.find("1 of 6 stocks were not bred"), std::string::npos) << run->err;
    }
    EXPECT_NE(r.out.find("breeding 6 watched stocks, 2 at a time\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("[6/6] "), std::string::npos) << r.out;

    // The table: header, five bred stocks by falling accumulated profit, then the failure.
    const std::vector<std::string> lines = Lines(r.out.substr(r.out.find("\n市场\t")));
    ASSERT_EQ(lines.size(), 2 + 6u) << r.out;
    EXPECT_EQ(lines[1], "市场\t代码\t名称\t适应度\t交易次数\t胜率%\t累计盈利%\t操盘信号\t备注");
    double previous = 1e9;
    for (size_t i = 2; i < 2 + kBred; ++i) {
        std::vector<std::string> cells;
        std::stringstream in(lines[i]);
        for (std::string cell; std::getline(in, cell, '\t');) cells.push_back(cell);
        ASSERT_EQ(cells.size(), 8u) << lines[i];  // no note
        EXPECT_LE(std::stod(cells[6]), previous) << lines[i];
        previous = std::stod(cells[6]);
    }
    EXPECT_EQ(lines.back(), "SZ\t300999\t\t\t\t\t\t\tno daily bars stored for SZ 300999");

    const std::string stored = Strategies(two->path());
    std::optional<Database> db = Database::Open((two->path() / "thedb.db3").string());
    EXPECT_EQ(testing_support::Count(*db, "SELECT COUNT(*) FROM SECRET WHERE length(GENE) = 138 AND INDI <> ''"),
              static_cast<int64_t>(kBred));
    EXPECT_EQ(stored, Strategies(one->path()));
}

// Ctrl-C once the first stock is done: the running children are killed and
// reaped, no more start, and exactly the stocks reported bred are stored.
TEST_F(WatchListBreed, CtrlCStopsTheChildrenAndKeepsWhatWasSaved) {
    const auto dir = Client();
    const std::string out = (dir->path() / "out.txt").string();
    std::vector<std::string> args = {KORVEL_CLI_PATH, "--dir", dir->path().string(), "breed", "--watch-list",
                                     "--save", "--jobs", "2", "--depth", "20"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, (out + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);

    for (int i = 0; i < 6000 && ReadFile(out).find("[1/6]") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const std::string task = "/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid);
    const std::string children = ReadFile(task + "/children");
    kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    EXPECT_NE(ReadFile(out + ".err").find("stopped by Ctrl-C"), std::string::npos) << ReadFile(out + ".err");

    std::stringstream pids(children);
    size_t running = 0;
    for (pid_t child; pids >> child; ++running) EXPECT_EQ(kill(child, 0), -1) << "child " << child << " survived";
    EXPECT_GE(running, 1u);
    const std::string printed = ReadFile(out);
    // A child may finish between the look at /proc and the signal: then the
    // stocks left are 未开始 (not started) rather than 已停止 (stopped).
    EXPECT_TRUE(printed.find("\t已停止\n") != std::string::npos ||
                printed.find("\t未开始\n") != std::string::npos)
        << printed;
    size_t bred = 0;
    for (size_t at = 0; (at = printed.find("  fitness ", at)) != std::string::npos; ++at) ++bred;
    std::optional<Database> db = Database::Open((dir->path() / "thedb.db3").string());
    EXPECT_EQ(testing_support::Count(*db, "SELECT COUNT(*) FROM SECRET WHERE length(GENE) = 138"),
              static_cast<int64_t>(bred));
}

}  // namespace
