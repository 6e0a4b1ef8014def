// The stock list reaches a client whenever it was imported: korvel-cli syncs
// from korvel-server while the list is imported again and again on one day
// (each import stamped with today, as `import-csv` does by default).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "../support/run_process.h"
#include "../support/server_process.h"
#include "server_fixture.h"

namespace {

using testing_support::RunCli;
using testing_support::RunServerCommand;

TEST(StockListSync, StocksImportedAfterAClientsSyncOnTheSameDayReachItsNextSync) {
    server_test::TempDir server_dir, client_dir;
    const std::string data = server_dir.path().string();
    const std::string header = "market,code,name,pinyin,type\n";
    // Each import, then what the client's stock list holds after its next
    // sync ("stocks" prints market, code, name, pinyin, type).
    struct Step {
        const char* csv;
        std::vector<std::string> expected;
    };
    const Step steps[] = {
        {"SS,600000,浦发银行,PFYH,1\n", {"SS\t600000\t浦发银行"}},
        // A new stock, later the same day.
        {"SZ,000002,万科A,WKA,1\n", {"SS\t600000\t浦发银行", "SZ\t000002\t万科A"}},
        // A rename by a third import, and an unchanged stock.
        {"SS,600000,浦发银行,PFYH,1\nSZ,000002,万科Ａ,WKA,1\n",
         {"SS\t600000\t浦发银行", "SZ\t000002\t万科Ａ"}},
    };
    std::unique_ptr<testing_support::ServerProcess> server;
    for (size_t i = 0; i < std::size(steps); ++i) {
        const auto csv = server_dir / ("stocks" + std::to_string(i) + ".csv");
        server_test::WriteFile(csv, header + steps[i].csv);
        const auto imported = RunServerCommand({"import-csv", "--data", data, "--stocks", csv.string()});
        ASSERT_EQ(imported.exitCode, 0) << imported.err;
        if (!server) {
            server = std::make_unique<testing_support::ServerProcess>(data);
            ASSERT_EQ(RunCli(client_dir.path(), {"init"}).exitCode, 0);
            ASSERT_EQ(RunCli(client_dir.path(), {"settings", "set", "HOST", server->host()}).exitCode, 0);
        }
        const auto synced = RunCli(client_dir.path(), {"sync"});
        EXPECT_THAT(synced.out, testing::HasSubstr("股票代码同步更新完毕。")) << synced.err;
        const auto listed = RunCli(client_dir.path(), {"stocks"});
        std::vector<std::string> stocks;
        for (const std::string& line : testing_support::Lines(listed.out))
            stocks.push_back(line.substr(0, line.find('\t', line.find('\t', 3) + 1)));
        EXPECT_EQ(stocks, steps[i].expected) << "after import " << i << "\n" << listed.out;
    }
}

}  // namespace
