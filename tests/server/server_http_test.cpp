// End to end: korvel-server started as a process on an ephemeral loopback
// port, every endpoint requested over real HTTP and its XML read the way the
// client reads it, with and without the reply cache.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <atomic>
#include <thread>

#include "../support/run_process.h"
#include "server_fixture.h"
#include "text/format.h"
#include "text/gbk.h"

namespace {

using server_test::ServerTest;
using server_test::WriteFile;

std::string Gbk(const char* utf8) { return text::Utf8ToGbk(utf8); }

// The texts of the named children, joined by spaces.
std::string Fields(const pugi::xml_node& node, const std::vector<const char*>& names) {
    std::string out;
    for (const char* name : names) out += std::string(" ") + node.child(name).text().get();
    return out.substr(1);
}

// The named fields of every node the XPath selects, one text per record.
std::vector<std::string> Records(const pugi::xml_node& doc, const char* xpath,
                                 const std::vector<const char*>& names) {
    std::vector<std::string> records;
    for (const pugi::xpath_node& n : doc.select_nodes(xpath)) records.push_back(Fields(n.node(), names));
    return records;
}

using Texts = std::vector<std::string>;

TEST_F(ServerTest, LoginFollowsConfiguredCutDateAndHosts) {
    Start();
    pugi::xml_document doc = Xml("/login.php?vrsn=1106&code=123&from=1");
    // cleanto: five trading days before 20240111 among the dates held.
    EXPECT_EQ(Records(doc, "//auth", {"update", "cleanto"}), Texts{"20240111 20240104"});
    EXPECT_EQ(Records(doc, "//news/*", {"popp", "vrsn", "titl", "addr", "text"}),
              (Texts{Gbk("3 7 A&B <新闻> http://example.com/?a=1&b=2 第一条, 含逗号"), Gbk("0 8 第二条  ")}));
    // Without hosts of its own the server offers itself.
    EXPECT_EQ(Records(doc, "//hosts/*", {"nett", "addr", "cmnt"}),
              Texts{"0 " + server_->host() + " " + Gbk("本机数据服务器")});

    // A fixed cut date and a host list, seen without restarting the server.
    Database db = server::OpenServerDatabase(dir_.path());
    server::SetSetting(db, server::kCleantoSetting, "20231229");
    WriteFile(dir_ / "in/hosts.csv", "nett,addr,cmnt\n1,data.example.com:8080,主服务器\n2,10.0.0.5,备用\n");
    server_test::CollectingLog log;
    server::ImportHosts(db, dir_ / "in/hosts.csv", log.log());
    doc = Xml("/login.php?vrsn=1106&code=1&from=1");
    EXPECT_EQ(Records(doc, "//auth", {"cleanto"}), Texts{"20231229"});
    EXPECT_EQ(Records(doc, "//hosts/*", {"nett", "addr", "cmnt"}),
              (Texts{Gbk("1 data.example.com:8080 主服务器"), Gbk("2 10.0.0.5 备用")}));

    // Back to the derived date.
    server::DeleteSetting(db, server::kCleantoSetting);
    EXPECT_EQ(Records(Xml("/login.php?from=1"), "//auth", {"cleanto"}), Texts{"20240104"});
}

TEST_F(ServerTest, RepliesHoldTheRequestedRecordsOldestFirst) {
    Start();
    const std::string daily = "/daily.php?vrsn=1106&code=1&mrkt=SS&stck=600000";
    const std::string divid = "/divid.php?mrkt=SS&stck=600000";
    const std::vector<const char*> date = {"date"};
    const struct {
        std::string target;
        const char* xpath;
        std::vector<const char*> fields;
        Texts records;  // GBK
    } cases[] = {
        {daily + "&frst=0&last=99999999", "//daily", date,
         {"20240102", "20240103", "20240104", "20240105", "20240108", "20240109", "20240110", "20240111"}},
        {daily + "&frst=0&last=20240102", "//daily", {"date", "open", "high", "low", "close", "volume"},
         {"20240102 10 10.2 9.9 10.1 1000"}},
        // Both bounds are inclusive; large volumes stay plain decimals.
        {daily + "&frst=20240104&last=20240109", "//daily", date, {"20240104", "20240105", "20240108", "20240109"}},
        {daily + "&frst=20240110&last=20240110", "//daily", {"volume"}, {"60000000000"}},
        // The client's incremental request: the day after its newest bar onwards.
        {daily + "&frst=20240111&last=99999999", "//daily", date, {"20240111"}},
        {daily + "&frst=-1&last=20240102", "//daily", date, {"20240102"}},  // a negative date is just an integer
        // Empty ranges and unknown stocks give a valid reply without records.
        {daily + "&frst=20240112&last=99999999", "//daily", date, {}},
        {daily + "&frst=20240109&last=20240104", "//daily", date, {}},
        {"/daily.php?mrkt=SZ&stck=600000&frst=0&last=99999999", "//daily", date, {}},
        {divid + "&frst=20210101&last=99999999", "//divid",
         {"date", "songgu", "zhuanzheng", "paixi", "peigu", "ppeigu"}, {"20230101 0 0 10.166131 3 5.5"}},
        {divid + "&frst=0&last=99999999", "//divid", date, {"20200101", "20230101"}},
        {"/code.php?vrsn=1106&code=1&pdate=0", "/*/*", {"date", "market", "code", "abbr", "pinyin", "type"},
         {Gbk("20240101 SS 000001 上证指数 SZZS 2"), Gbk("20240101 SS 600000 浦发银行 PFYH 1"),
          Gbk("20240101 SZ 000002 万科Ａ WKA 1")}},
        {"/code.php?pdate=20240101", "/*/*", {"code"}, {}},  // the client holds the newest stamp
        {"/pool.php?vrsn=1106&code=1&modl=vpool", "//pool",
         {"rank", "date", "market", "code", "abbr", "capital", "pe", "pb", "mpg"},
         {Gbk("1 20240105 SS 600000 浦发银行 0 0 0 0"), Gbk("2 20240105 SZ 000002 万科Ａ 1100 8.5 0.9 -12.25"),
          "3 20240105 SZ 999999  0 0 0 0"}},  // a stock missing from the stock list has no name
        {"/pool.php?modl=gpick", "//pool", {"rank"}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Records(Xml(c.target), c.xpath, c.fields), c.records) << c.target;
        EXPECT_GT(Get(c.target).body.size(), 10u) << c.target;  // long enough for the client to take
    }
    EXPECT_EQ(Records(Xml("/pool.php?modl=vpool"), "/*", {"caption", "info"}), Texts{Gbk("价值模型股票池 示例")});
    EXPECT_EQ(Records(Xml("/pool.php?modl=gpick"), "/*", {"caption", "info"}), Texts{" "});  // both empty
}

TEST_F(ServerTest, CodeRepliesSendRecordsStampedAfterTheCursor) {
    Start();
    const server_test::Reply reply = Get("/code.php?vrsn=1106&code=4294967295&pdate=0");
    EXPECT_EQ(reply.content_type, "text/xml; charset=gb2312");
    EXPECT_EQ(reply.body.rfind("<?xml version=\"1.0\" encoding=\"gb2312\"?>", 0), 0u);
    // Full-width Ａ stays the GBK double byte A3C1.
    EXPECT_NE(reply.body.find("<abbr>\xCD\xF2\xBF\xC6\xA3\xC1</abbr>"), std::string::npos);

    // Another import on the same day (korvel-server stamps with the day): a
    // client holding that day's stamp still gets the new stock.
    WriteFile(dir_ / "in/stocks2.csv", "market,code,name,pinyin,type\nSZ,300059,东方财富,DFCF,1\n");
    server_test::CollectingLog log;
    Database db = server::OpenServerDatabase(dir_.path());
    server::ImportStocksCsv(db, dir_ / "in/stocks2.csv", 20240101, log.log());
    EXPECT_EQ(Records(Xml("/code.php?pdate=20240101"), "/*/*", {"code", "date"}), Texts{"300059 20240101"});

    // A later import: one stock renamed, the others unchanged.
    WriteFile(dir_ / "in/stocks3.csv",
              "market,code,name,pinyin,type\n"
              "SS,600000,浦发银行,PFYH,1\n"
              "SZ,000002,万科A,WKA,1\n"
              "SZ,300059,东方财富,DFCF,1\n");
    server::ImportStocksCsv(db, dir_ / "in/stocks3.csv", 20240105, log.log());
    EXPECT_EQ(Records(Xml("/code.php?pdate=20240101"), "/*/*", {"code", "date"}),
              (Texts{"300059 20240101", "000002 20240105"}));
    EXPECT_TRUE(Xml("/code.php?pdate=20240105").select_nodes("/*/*").empty());
}

TEST_F(ServerTest, BadParametersGet400AndUnknownPaths404) {
    Start();
    const std::string daily = "/daily.php?vrsn=1106&code=1";
    const std::vector<std::string> bad = {
        daily + "&stck=600000&frst=0&last=1",                         // no market
        daily + "&mrkt=SSSSSSSSSSSSSSSSS&stck=600000&frst=0&last=1",  // 17 characters
        daily + "&mrkt=SS&stck=60000%27&frst=0&last=1",               // a quote
        daily + "&mrkt=SS&stck=%E6%B5%A6&frst=0&last=1",              // not ASCII
        daily + "&mrkt=SS&stck=600000&frst=abc&last=1",
        daily + "&mrkt=SS&stck=600000&frst=1.5&last=1",
        daily + "&mrkt=SS&stck=600000&frst=0&last=99999999999",  // beyond 32 bits
        daily + "&mrkt=SS&stck=600000&frst=0",
        "/divid.php?mrkt=SS&stck=600000&frst=x&last=1",
        "/code.php?vrsn=1106&code=1",
        "/pool.php?modl=v%20pool",
        "/login.php?vrsn=abc&from=1",
        "/login.php?code=4294967296&from=1",
    };
    for (const std::string& target : bad) EXPECT_EQ(Get(target).status, 400) << target;
    // Keys of 16 characters, and percent escapes at every edge of the hex digits.
    for (const std::string& good :
         {"/pool.php?modl=" + std::string(16, 'p'), std::string("/pool.php?modl=%4A%4f%6a%6F%30%39")})
        EXPECT_EQ(Get(good).status, 200) << good;
    for (const char* target : {"/", "/login.phpx", "/loginXphp", "/daily.php/x", "/pool"})
        EXPECT_EQ(Get(target).status, 404) << target;
}

TEST_F(ServerTest, KeepsItsPortLogsOneLinePerRequestAndStopsCleanlyOnSigterm) {
    Start();
    // `timeout` ends a second server's attempt if it wrongly starts serving (status 124).
    const testing_support::ProcessResult second = testing_support::RunProcess(
        {"/usr/bin/timeout", "20", KORVEL_SERVER_PATH, "serve", "--data", dir_.path().string(), "--listen",
         server_->host()});
    EXPECT_EQ(second.exitCode, 1) << second.err;
    Get("/login.php?from=1");
    Get("/daily.php?mrkt=SS&stck=600000&frst=0&last=1");
    Get("/nowhere");
    const int status = server_->Stop();
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const std::string log = Log();
    size_t requests = 0;
    for (size_t at = log.find("\"GET "); at != std::string::npos; at = log.find("\"GET ", at + 1)) ++requests;
    EXPECT_EQ(requests, 3u) << log;
    EXPECT_NE(log.find("\"GET /nowhere\" 404"), std::string::npos) << log;
    EXPECT_NE(log.find("\"GET /login.php?from=1\" 200"), std::string::npos) << log;
}

TEST_F(ServerTest, CachedAndUncachedRepliesAreByteIdentical) {
    Start();
    const server_test::ServerProcess uncached(dir_.path().string(), (dir_ / "uncached.log").string(),
                                              {"--cache-mb", "0"});
    const std::string daily = "/daily.php?vrsn=1106&code=1&mrkt=SS&stck=600000";
    for (const std::string& target : {
             daily + "&frst=0&last=99999999",
             daily + "&frst=20240104&last=20240109",
             daily + "&frst=20240111&last=99999999",
             daily + "&frst=20240112&last=99999999",
             std::string("/divid.php?mrkt=SS&stck=600000&frst=0&last=99999999"),
             std::string("/code.php?pdate=0"),
             std::string("/code.php?vrsn=1106&pdate=20240101"),
             std::string("/pool.php?modl=vpool"),
             std::string("/pool.php?modl=gpick"),
         }) {
        const std::string expected = server_test::Fetch(uncached.port(), target).body;
        EXPECT_GT(expected.size(), 40u) << target;
        EXPECT_EQ(Get(target).body, expected) << target;  // built and kept
        EXPECT_EQ(Get(target).body, expected) << target;  // from the cache
    }
    // A cached reply never answers a request whose parameters are wrong.
    EXPECT_EQ(Get("/daily.php?vrsn=x&mrkt=SS&stck=600000&frst=0&last=99999999").status, 400);
}

TEST_F(ServerTest, AnImportShowsInTheVeryNextReply) {
    Start();
    const std::string target = "/daily.php?mrkt=SS&stck=600000&frst=20240101&last=99999999";
    // Other clients keep asking for the same reply, so replies are built,
    // cached and dropped while the data changes under them.
    std::atomic<bool> done{false};
    std::atomic<int> failures{0};
    std::vector<std::thread> others;
    for (int t = 0; t < 3; ++t) {
        others.emplace_back([&] {
            while (!done)
                if (Get(target).body.find("<bars>") == std::string::npos) ++failures;
        });
    }
    Database db = server::OpenServerDatabase(dir_.path());
    const auto bars = dir_ / "in/SS_600000.csv";
    for (int round = 1; round <= 100; ++round) {
        const std::string price = text::Format("%d.25", 20 + round);
        WriteFile(bars, text::Format("date,open,high,low,close,volume\n20240111,%s,%s,%s,%s,1\n", price.c_str(),
                                     price.c_str(), price.c_str(), price.c_str()));
        server_test::CollectingLog log;
        ASSERT_EQ(server::ImportDailyCsv(db, bars, log.log()).written, 1);
        EXPECT_NE(Get(target).body.find("<close>" + price + "</close>"), std::string::npos) << "round " << round;
        EXPECT_NE(Get(target).body.find("<close>" + price + "</close>"), std::string::npos) << "round " << round;
    }
    done = true;
    for (auto& other : others) other.join();
    EXPECT_EQ(failures, 0);

    // An import by the korvel-server program itself, another process.
    WriteFile(bars, "date,open,high,low,close,volume\n20240111,99.5,99.5,99.5,99.5,1\n");
    const testing_support::ProcessResult import = testing_support::RunServerCommand(
        {"import-csv", "--data", dir_.path().string(), "--daily", bars.string()});
    ASSERT_EQ(import.exitCode, 0) << import.err;
    EXPECT_NE(Get(target).body.find("<close>99.5</close>"), std::string::npos);
}

}  // namespace
