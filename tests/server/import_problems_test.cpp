// What the korvel-server commands say about bad input: huge fields quoted
// briefly, repeated dates, missing files, a data folder without a database
// and a damaged database, each in one line the user can act on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "../support/run_process.h"
#include "../support/test_store.h"
#include "server/server_database.h"
#include "test_files.h"

namespace {

using testing_support::RunServerCommand;

size_t LineCount(const std::string& text) { return testing_support::Lines(text).size(); }

std::string TdxRecord(int date, int32_t price) {
    return server_test::TdxRecord(date, price / 100.0, price / 100.0, price / 100.0, price / 100.0, 1000);
}

TEST(ImportProblems, EachIsReportedInOneShortLine) {
    server_test::TempDir dir;
    const std::string data = (dir / "data").string();
    const std::string huge(10 << 20, 'x');
    server_test::WriteFile(dir / "SS_600000.csv",
                           "date,open,high,low,close,volume\n"
                           "20240102,10.0,10.2,9.9,10.1,1000\n"
                           "20240102,11.0,11.2,10.9,11.1,1000\n"
                           "20240103," +
                               huge + ",10.2,9.9,10.1,1000\n");
    server_test::WriteFile(dir / "dividend.csv",
                           "market,code,date,songgu,zhuanzeng,paixi,peigu,peigujia\n"
                           "SS,600000,20200101,1,0,2.5,0,0\nSS,600000,20200101,1,0,3,0,0\n"
                           "SZ,600000,20200101,1,0,3,0,0\n");
    server_test::WriteFile(dir / "sh600000.day", TdxRecord(20240104, 1000) + TdxRecord(20240104, 1100));
    struct Case {
        std::vector<std::string> words;
        std::string problem;  // the one line of stderr that matters
    };
    const std::string in = dir.path().string();
    const std::vector<Case> cases = {
        {{"import-csv", "--data", data, "--daily", in + "/SS_600000.csv"},
         in + "/SS_600000.csv:3: date 20240102 repeats an earlier record; the first is kept"},
        {{"import-csv", "--data", data, "--daily", in + "/SS_600000.csv"},
         in + "/SS_600000.csv:4: open is not a number: \"" + std::string(80, 'x') + "...\" (10485760 bytes)"},
        {{"import-csv", "--data", data, "--dividend", in + "/dividend.csv"},
         in + "/dividend.csv:3: SS 600000 date 20200101 repeats an earlier record; the first is kept"},
        {{"import-tdx", "--data", data, "--vipdoc", in + "/sh600000.day"},
         in + "/sh600000.day:record 2: date 20240104 repeats an earlier record; the first is kept"},
        {{"import-csv", "--data", data, "--stocks", in + "/none.csv"}, in + "/none.csv: not found"},
        {{"import-csv", "--data", data, "--daily", in + "/none"}, in + "/none: not found"},
        {{"import-tdx", "--data", data, "--vipdoc", in + "/none"}, in + "/none: not found"},
        {{"serve", "--data", in + "/empty", "--listen", "127.0.0.1:0"},
         "korvel-server serve: no database in " + in + "/empty (fill one with import-csv, import-tdx or init-demo)"},
        {{"config", "--data", in + "/empty"},
         "korvel-server config: no database in " + in + "/empty (fill one with import-csv, import-tdx or init-demo)"},
    };
    for (const Case& c : cases) {
        const auto run = RunServerCommand(c.words);
        EXPECT_EQ(run.exitCode, 1) << c.words[0];
        const std::vector<std::string> lines = testing_support::Lines(run.err);
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.problem), lines.end()) << c.problem << "\n---\n"
                                                                                 << run.err.substr(0, 2000);
        EXPECT_LT(run.err.size(), 2000u);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "empty"));
    // The first of the repeated bars and dividends is the one kept.
    Database db = server::OpenServerDatabase(data);
    EXPECT_EQ(testing_support::Count(db, "SELECT COUNT(*) FROM daily WHERE date = 20240102 AND open = 10"), 1);
    EXPECT_EQ(testing_support::Count(db, "SELECT COUNT(*) FROM dividends WHERE paixi = 2.5"), 1);
    EXPECT_EQ(testing_support::Count(db, "SELECT COUNT(*) FROM daily WHERE date = 20240104 AND open = 10"), 1);
}

TEST(ImportProblems, ADamagedDatabaseIsNamedInOneLine) {
    server_test::TempDir dir;
    server_test::WriteFile(dir / "korvel-server.db3", std::string(8192, 'z'));
    server_test::WriteFile(dir / "stocks.csv", "market,code,name,pinyin,type\n");
    const std::string data = dir.path().string();
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{"serve", "--data", data, "--listen", "127.0.0.1:0"},
          {"config", "--data", data},
          {"import-csv", "--data", data, "--stocks", data + "/stocks.csv"}}) {
        const auto run = RunServerCommand(words);
        EXPECT_EQ(run.exitCode, 1) << words[0];
        EXPECT_EQ(LineCount(run.err), 1u) << run.err;
        EXPECT_NE(run.err.find(data + "/korvel-server.db3 is damaged or not a korvel-server database ("),
                  std::string::npos)
            << run.err;
    }
}

}  // namespace
