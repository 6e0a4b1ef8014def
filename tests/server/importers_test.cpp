// The importers and the korvel-server commands around them: what they store,
// what they skip and report (each problem in one short line the user can act
// on), and that doing it twice changes nothing.
#include "server/importers.h"

#include <gtest/gtest.h>

#include "../support/bundled_data.h"
#include "../support/run_process.h"
#include "../support/test_store.h"
#include "server/csv.h"
#include "server/replies.h"
#include "server/server_database.h"
#include "server_fixture.h"
#include "text/gbk.h"

namespace {

using server_test::CollectingLog;
using server_test::TdxRecord;
using server_test::TempDir;
using server_test::WriteFile;
using testing_support::Count;
using testing_support::Lines;
using testing_support::ProcessResult;
using testing_support::RunServerCommand;

// Whether some problem line holds `needle`, so a test can say what was reported where.
bool Reported(const CollectingLog& log, const std::string& needle) {
    for (const auto& p : log.problems)
        if (p.find(needle) != std::string::npos) return true;
    return false;
}

class ImportTest : public testing::Test {
protected:
    TempDir dir_;
    Database db_ = server::OpenServerDatabase(dir_ / "db");
    CollectingLog log_;
};

TEST_F(ImportTest, DailyCsvSkipsMalformedLinesAndWarnsAboutOddBars) {
    WriteFile(dir_ / "daily/SS_600000.csv",
              "date,open,high,low,close,volume\n"
              "20240102,10.0,10.2,9.9,10.1,1000\n"
              "20240103,10.1,10.3,10.0,10.2\n"       // line 3: five fields
              "20240230,10.1,10.3,10.0,10.2,1\n"     // line 4: no such day
              "20240104,10.2,10.1,10.1,10.3,3000\n"  // line 5: high below close, stored
              "20240105,10.3,10.5,10.2,abc,4000\n"   // line 6: not a number
              "\n"
              "20240108,10.4,10.6,10.3,10.5,-1\r\n"  // line 8: negative volume
              "20240109,nan,10.7,10.4,10.6,6000\n"   // line 9
              "20240110,10.6,10.8,10.5,10.7,7000\r\n"
              "20240111,10.6,10.8,0,10.7,7000\n");  // line 11: a price of 0
    WriteFile(dir_ / "daily/SZ_000001.csv", "date,open,high,low,close,volume\n19910103,66.2,66.2,66.2,66.2,400\n");
    WriteFile(dir_ / "daily/notes.txt", "ignored: not a .csv file\n");
    const server::ImportTotals totals = server::ImportDailyCsv(db_, dir_ / "daily", log_.log());
    EXPECT_EQ(totals.written, 4);
    EXPECT_EQ(totals.skipped, 6);
    EXPECT_EQ(totals.warnings, 1);
    const std::string file = (dir_ / "daily/SS_600000.csv").string();
    for (int line : {3, 4, 5, 6, 8, 9, 11}) EXPECT_TRUE(Reported(log_, file + ":" + std::to_string(line) + ": ")) << line;
    EXPECT_TRUE(Reported(log_, ":5: warning: prices out of order: high 10.1 below open 10.2"));
    EXPECT_TRUE(Reported(log_, ":3: 5 fields, expected 6"));
    EXPECT_TRUE(Reported(log_, ":6: close is not a number: \"abc\""));
    EXPECT_EQ(Count(db_, "SELECT COUNT(*) FROM daily WHERE market = 'SS' AND code = '600000'"), 3);

    // The same files again: nothing written; a corrected bar replaces the old one.
    CollectingLog again;
    EXPECT_EQ(server::ImportDailyCsv(db_, dir_ / "daily", again.log()).written, 0);
    WriteFile(dir_ / "fix/SS_600000.csv", "date,open,high,low,close,volume\n20240110,10.6,10.9,10.5,10.7,7000\n");
    EXPECT_EQ(server::ImportDailyCsv(db_, dir_ / "fix/SS_600000.csv", again.log()).written, 1);
    EXPECT_EQ(Count(db_, "SELECT high * 10 FROM daily WHERE date = 20240110"), 109);
}

// Their GBK names and stamps are checked through code.php (server_http_test.cpp).
TEST_F(ImportTest, StocksThatCannotBeStoredAreSkipped) {
    WriteFile(dir_ / "s1.csv",
              "market,code,name,pinyin,type\n"
              "SS,600000,浦发银行,PFYH,1\n"
              "SS,600001,\"A,B\",AB,1\n"
              "SS,600002,笑😀,X,1\n"     // no GBK form
              "SS,600003,,X,1\n"        // no name
              "SS,600004,名,X,1.5\n"    // type not an integer
              "S-S,600005,名,X,1\n"     // market not a key
              "SS,600006,\"名,X,1\n");  // quote not closed
    const server::ImportTotals totals = server::ImportStocksCsv(db_, dir_ / "s1.csv", 20240101, log_.log());
    EXPECT_EQ(totals.written, 2);
    EXPECT_EQ(totals.skipped, 5);
    EXPECT_TRUE(Reported(log_, "s1.csv:4: name is not text GBK can hold"));
    EXPECT_TRUE(Reported(log_, "s1.csv:8: unbalanced quotes"));
    EXPECT_EQ(Count(db_, "SELECT COUNT(*) FROM stocks WHERE name = 'A,B'"), 1);
}

TEST_F(ImportTest, PoolsReplaceTheModelsNamedInTheFile) {
    WriteFile(dir_ / "p1.csv",
              "model,rank,date,market,code,capital,pe,pb,mpg\n"
              "vpool,1,20240105,SS,600000,0,0,0,0\n"
              "vpool,2,20240105,SS,600036,0,0,0,0\n"
              "gpool,1,20240105,SZ,300059,0,0,0,0\n"
              "gpool,2,20240105,SZ,300059,0,0,0,0\n");  // twice in one pool
    server::ImportPools(db_, dir_ / "p1.csv", log_.log());
    EXPECT_TRUE(Reported(log_, "p1.csv:5: stock SZ 300059 is already in pool gpool"));
    WriteFile(dir_ / "p2.csv", "model,rank,date,market,code,capital,pe,pb,mpg\nvpool,1,20240201,SS,600016,0,0,0,0\n");
    server::ImportPools(db_, dir_ / "p2.csv", log_.log());
    EXPECT_EQ(Count(db_, "SELECT COUNT(*) FROM pool_entries WHERE model = 'vpool'"), 1);
    EXPECT_EQ(Count(db_, "SELECT COUNT(*) FROM pool_entries WHERE model = 'gpool'"), 1);
}

TEST_F(ImportTest, NewsAndHostsReplaceTheWholeList) {
    WriteFile(dir_ / "n.csv", "popp,vrsn,title,addr,text\n1,1,一,,\n0,2,二,,\n");
    server::ImportNews(db_, dir_ / "n.csv", log_.log());
    server::ImportNews(db_, dir_ / "n.csv", log_.log());
    EXPECT_EQ(Count(db_, "SELECT COUNT(*) FROM news"), 2);

    WriteFile(dir_ / "h.csv", "nett,addr,cmnt\n1,a.example:80,甲\n1,bad host,乙\n2,b.example,丙\n");
    server::ImportHosts(db_, dir_ / "h.csv", log_.log());
    server::ImportHosts(db_, dir_ / "h.csv", log_.log());
    EXPECT_EQ(Count(db_, "SELECT COUNT(*) FROM hosts"), 2);
    EXPECT_TRUE(Reported(log_, "h.csv:3: addr must be a host name"));
}

TEST(CsvLine, SplitsQuotedAndPlainFields) {
    std::vector<std::string> fields;
    ASSERT_TRUE(server::SplitCsvLine(" a , \"b,c\" ,\"d\"\"e\",", fields));
    EXPECT_EQ(fields, (std::vector<std::string>{"a", "b,c", "d\"e", ""}));
    for (const char* bad : {"a,\"b", "a,\"b\"c", "a,b\"c"}) EXPECT_FALSE(server::SplitCsvLine(bad, fields)) << bad;
}

// --- TDX day files --------------------------------------------------------

// A bundled CSV bar file as a TDX day file (an index's volume in lots).
std::string TdxFromCsv(const std::string& name, bool index) {
    std::string out;
    for (const std::vector<std::string>& f : testing_support::CsvRows(name, 6))
        out += TdxRecord(std::stoi(f[0]), std::stod(f[1]), std::stod(f[2]), std::stod(f[3]), std::stod(f[4]),
                         static_cast<uint32_t>(std::stod(f[5]) / (index ? 100 : 1)));
    return out;
}

TEST_F(ImportTest, TdxDayFilesServeTheSameRepliesAsTheCsvImport) {
    // 600016 has volumes beyond 2^31, 000001 in Shanghai is the index.
    const std::vector<std::pair<std::string, bool>> stocks = {{"600000", false}, {"600016", false}, {"000001", true}};
    Database csv_db = server::OpenServerDatabase(dir_ / "csvdb");
    for (const auto& [code, index] : stocks) {
        const std::string csv = "daily/SS_" + code + ".csv";
        WriteFile(dir_ / "vipdoc/sh/lday" / ("sh" + code + ".day"), TdxFromCsv(csv, index));
        EXPECT_TRUE(server::ImportDailyCsv(csv_db, testing_support::DataFile(csv), log_.log()).clean());
    }
    const server::ImportTotals totals = server::ImportTdx(db_, dir_ / "vipdoc", log_.log());
    EXPECT_TRUE(totals.clean()) << log_.problems.front();
    EXPECT_EQ(totals.written, 5259 + 5048 + 2765);

    server::Replies from_tdx(dir_ / "db"), from_csv(dir_ / "csvdb");
    for (const auto& [code, index] : stocks) {
        const std::string reply(from_tdx.Daily("SS", code, 0, 99999999));
        EXPECT_EQ(reply, from_csv.Daily("SS", code, 0, 99999999)) << code;
        EXPECT_GT(reply.size(), 100000u);
    }
    EXPECT_EQ(server::ImportTdx(db_, dir_ / "vipdoc", log_.log()).written, 0);
}

TEST_F(ImportTest, TdxRecordsThatDoNotFitAreReportedByNumber) {
    std::string day = TdxRecord(20240102, 10, 10.2, 9.9, 10.1, 100);
    day += TdxRecord(20241301, 10, 10.2, 9.9, 10.1, 100);  // month 13
    day += TdxRecord(20240103, 10, 9.0, 9.9, 10.1, 100);   // high below low: stored, warned
    day += TdxRecord(20240104, 10, 10.2, 9.9, 10.1, 100);
    day += "\x01\x02\x03";  // a cut-off record
    WriteFile(dir_ / "sz000002.day", day);
    WriteFile(dir_ / "bj430047.day", TdxRecord(20240102, 10, 10.2, 9.9, 10.1, 100));
    const server::ImportTotals totals = server::ImportTdx(db_, dir_ / "sz000002.day", log_.log());
    EXPECT_EQ(totals.records, 5);
    EXPECT_EQ(totals.written, 3);
    EXPECT_EQ(totals.skipped, 2);
    EXPECT_EQ(totals.warnings, 1);
    EXPECT_TRUE(Reported(log_, "sz000002.day:record 2: 20241301 is not a date"));
    EXPECT_TRUE(Reported(log_, "sz000002.day:record 3: warning: prices out of order: high 9 below open 10"));
    EXPECT_TRUE(Reported(log_, "sz000002.day:record 5: 3 bytes, not a whole record"));
    EXPECT_EQ(server::ImportTdx(db_, dir_ / "bj430047.day", log_.log()).failed_files, 1);
    EXPECT_EQ(Count(db_, "SELECT COUNT(*) FROM daily WHERE market = 'SZ' AND code = '000002'"), 3);
}

// --- the commands ---------------------------------------------------------

TEST_F(ImportTest, CommandsFailOnSkippedLinesButNotOnWarnings) {
    // Skipped lines fail an import (ImportProblems below); a warning alone does not.
    WriteFile(dir_ / "in/SS_600000.csv",
              "date,open,high,low,close,volume\n"
              "20240102,10.0,10.2,9.9,10.1,1000\n"
              "20240103,10.3,10.1,9.9,10.0,1000\n");  // high below open
    const std::string data = (dir_ / "served").string();
    ProcessResult run = RunServerCommand({"import-csv", "--data", data, "--daily", (dir_ / "in").string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("SS_600000.csv:3: warning: prices out of order: high 10.1 below open 10.3"),
              std::string::npos) << run.err;
    EXPECT_NE(run.out.find("SS_600000.csv: 2 records, 2 written, 0 skipped, 1 warnings"), std::string::npos) << run.out;

    EXPECT_EQ(RunServerCommand({"import-csv", "--data", data}).exitCode, 2);
    EXPECT_EQ(RunServerCommand({"import-csv", "--data", data, "--daily"}).exitCode, 2);
    EXPECT_EQ(RunServerCommand({"import-csv", "--data", data, "--stocks", "x", "--stamp", "2024"}).exitCode, 2);
    EXPECT_EQ(RunServerCommand({"serve", "--data", data, "--listen", "localhost"}).exitCode, 2);
    EXPECT_EQ(RunServerCommand({"frobnicate"}).exitCode, 2);

    run = RunServerCommand({"config", "--data", data, "--cleanto", "20231229"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("cleanto   20231229 (fixed)"), std::string::npos) << run.out;
    run = RunServerCommand({"config", "--data", data, "--cleanto", "auto"});
    EXPECT_NE(run.out.find("cleanto   20240102 (five trading days before update)"), std::string::npos) << run.out;
}

TEST_F(ImportTest, InitDemoBuildsTheBundledDataCleanly) {
    const std::string data = (dir_ / "demo").string();
    const ProcessResult run = RunServerCommand({"init-demo", "--data", data});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    Database db = server::OpenServerDatabase(data);
    EXPECT_EQ(Count(db, "SELECT COUNT(*) FROM stocks"), 13);
    EXPECT_EQ(Count(db, "SELECT COUNT(*) FROM dividends"), 272);
    EXPECT_EQ(Count(db, "SELECT COUNT(DISTINCT code || market) FROM daily"), 13);
    // Every pool entry is one of the bundled stocks, and no figure is invented.
    EXPECT_EQ(Count(db,
                    "SELECT COUNT(*) FROM pool_entries e LEFT JOIN stocks s ON s.market = e.market AND "
                    "s.code = e.code WHERE s.code IS NULL OR capital <> 0 OR pe <> 0 OR pb <> 0 OR mpg <> 0"),
              0);
    server::Replies replies(data);
    EXPECT_EQ(replies.Dates().update, 20220114);
    EXPECT_NE(replies.Codes(0).find(text::Utf8ToGbk("<abbr>万科Ａ</abbr>")), std::string::npos);

    // A second run leaves the data as it was.
    const ProcessResult again = RunServerCommand({"init-demo", "--data", data});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_NE(again.out.find("SS_600000.csv: 5259 records, 0 written, 0 skipped"), std::string::npos);
    EXPECT_NE(again.out.find("dividend.csv: 272 records, 0 written, 0 skipped"), std::string::npos);
}

// korvel-server's summary of an import's problems, its last line on stderr.
std::string Totals(int skipped, int failed_files) {
    return "korvel-server: " + std::to_string(skipped) + " records skipped, " + std::to_string(failed_files) +
           " files not imported, 0 warnings";
}

TEST(ImportProblems, EachIsReportedInOneShortLine) {
    TempDir dir;
    const std::string in = dir.path().string(), data = in + "/data";
    const std::string huge(10 << 20, 'x');
    WriteFile(dir / "SS_600000.csv",
              "date,open,high,low,close,volume\n"
              "20240102,10.0,10.2,9.9,10.1,1000\n"
              "20240102,11.0,11.2,10.9,11.1,1000\n"
              "20240103," + huge + ",10.2,9.9,10.1,1000\n");
    WriteFile(dir / "a/SS_600000.csv", "date,close,open,high,low,volume\n20240102,10.1,10.0,10.2,9.9,1000\n");
    WriteFile(dir / "b/600000.csv", "date,open,high,low,close,volume\n20240102,10.0,10.2,9.9,10.1,1000\n");
    WriteFile(dir / "c/SS_600000.csv", "");
    WriteFile(dir / "dividend.csv",
              "market,code,date,songgu,zhuanzeng,paixi,peigu,peigujia\n"
              "SS,600000,20200101,1,0,2.5,0,0\nSS,600000,20200101,1,0,3,0,0\n"
              "SZ,600000,20200101,1,0,3,0,0\nSS,600000,20210101,0,0,-2.5,0,0\n");
    WriteFile(dir / "sh600000.day",
              TdxRecord(20240104, 10, 10, 10, 10, 1000) + TdxRecord(20240104, 11, 11, 11, 11, 1000));
    WriteFile(dir / "damaged/korvel-server.db3", std::string(8192, 'z'));
    const std::string no_database = " (fill one with import-csv, import-tdx or init-demo)";
    const std::string damaged = in + "/damaged/korvel-server.db3 is damaged or not a korvel-server database "
                                     "(file is not a database)";
    const struct {
        std::vector<std::string> words;
        std::vector<std::string> err;  // every line of stderr
    } cases[] = {
        {{"import-csv", "--data", data, "--daily", in + "/SS_600000.csv"},
         {in + "/SS_600000.csv:3: date 20240102 repeats an earlier record; the first is kept",
          in + "/SS_600000.csv:4: open is not a number: \"" + std::string(80, 'x') + "...\" (10485760 bytes)",
          Totals(2, 0)}},
        {{"import-csv", "--data", data, "--daily", in + "/a"},
         {in + "/a/SS_600000.csv: not imported: the first line must be the header "
                   "\"date,open,high,low,close,volume\"",
          Totals(0, 1)}},
        {{"import-csv", "--data", data, "--daily", in + "/b"},
         {in + "/b/600000.csv: not imported: the name must be <MARKET>_<CODE>.csv", Totals(0, 1)}},
        {{"import-csv", "--data", data, "--daily", in + "/c"},
         {in + "/c/SS_600000.csv: not imported: the file is empty", Totals(0, 1)}},
        {{"import-csv", "--data", data, "--dividend", in + "/dividend.csv"},
         {in + "/dividend.csv:3: SS 600000 date 20200101 repeats an earlier record; the first is kept",
          in + "/dividend.csv:5: paixi is negative: \"-2.5\"", Totals(2, 0)}},
        {{"import-tdx", "--data", data, "--vipdoc", in + "/sh600000.day"},
         {in + "/sh600000.day:record 2: date 20240104 repeats an earlier record; the first is kept", Totals(1, 0)}},
        {{"import-csv", "--data", data, "--stocks", in + "/none.csv"}, {in + "/none.csv: not found", Totals(0, 1)}},
        {{"import-csv", "--data", data, "--daily", in + "/none"}, {in + "/none: not found", Totals(0, 1)}},
        {{"import-tdx", "--data", data, "--vipdoc", in + "/none"}, {in + "/none: not found", Totals(0, 1)}},
        {{"serve", "--data", in + "/empty", "--listen", "127.0.0.1:0"},
         {"korvel-server serve: no database in " + in + "/empty" + no_database}},
        {{"config", "--data", in + "/empty"},
         {"korvel-server config: no database in " + in + "/empty" + no_database}},
        {{"serve", "--data", in + "/damaged", "--listen", "127.0.0.1:0"}, {"korvel-server serve: " + damaged}},
        {{"config", "--data", in + "/damaged"}, {"korvel-server config: " + damaged}},
        {{"import-csv", "--data", in + "/damaged", "--dividend", in + "/dividend.csv"},
         {"korvel-server import-csv: " + damaged}},
    };
    for (const auto& c : cases) {
        const ProcessResult run = RunServerCommand(c.words);
        EXPECT_EQ(run.exitCode, 1) << c.words[0];
        ASSERT_LT(run.err.size(), 2000u) << run.err.substr(0, 2000);
        EXPECT_EQ(Lines(run.err), c.err);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "empty"));
    // The first of the repeated bars and dividends is the one kept, and
    // nothing of a refused file.
    Database db = server::OpenServerDatabase(data);
    EXPECT_EQ(Count(db, "SELECT COUNT(*) FROM daily"), 2);
    EXPECT_EQ(Count(db, "SELECT COUNT(*) FROM daily WHERE date = 20240102 AND open = 10"), 1);
    EXPECT_EQ(Count(db, "SELECT COUNT(*) FROM daily WHERE date = 20240104 AND open = 10"), 1);
    EXPECT_EQ(Count(db, "SELECT COUNT(*) FROM dividends"), 2);
    EXPECT_EQ(Count(db, "SELECT COUNT(*) FROM dividends WHERE paixi = 2.5"), 1);
}

}  // namespace
