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

const std::string kPufaGbk = "\xC6\xD6\xB7\xA2\xD2\xF8\xD0\xD0";  // 浦发银行

std::string Child(const pugi::xml_node& node, const char* name) { return node.child(name).text().get(); }

// The texts of the named children, joined by spaces.
std::string Fields(const pugi::xml_node& node, std::initializer_list<const char*> names) {
    std::string out;
    for (const char* name : names) out += (out.empty() ? "" : " ") + Child(node, name);
    return out;
}

std::vector<pugi::xml_node> Nodes(const pugi::xml_node& node, const char* xpath) {
    std::vector<pugi::xml_node> nodes;
    for (const auto& n : node.select_nodes(xpath)) nodes.push_back(n.node());
    return nodes;
}

std::vector<std::string> Dates(const pugi::xml_document& doc, const char* xpath) {
    std::vector<std::string> dates;
    for (const pugi::xml_node& record : Nodes(doc, xpath)) dates.push_back(Child(record, "date"));
    return dates;
}

TEST_F(ServerTest, LoginFollowsConfiguredCutDateAndHosts) {
    Start();
    pugi::xml_document doc = Xml("/login.php?vrsn=1106&code=123&from=1");
    pugi::xml_node root = doc.document_element();
    // cleanto: five trading days before 20240111 among the dates held.
    EXPECT_EQ(Fields(root.child("auth"), {"update", "cleanto"}), "20240111 20240104");
    const std::vector<pugi::xml_node> news = Nodes(root.child("news"), "child::*");
    ASSERT_EQ(news.size(), 2u);
    EXPECT_EQ(Fields(news[0], {"popp", "vrsn", "titl", "addr", "text"}),
              text::Utf8ToGbk("3 7 A&B <新闻> http://example.com/?a=1&b=2 第一条, 含逗号"));
    // Without hosts of its own the server offers itself.
    std::vector<pugi::xml_node> hosts = Nodes(root.child("hosts"), "child::*");
    ASSERT_EQ(hosts.size(), 1u);
    EXPECT_EQ(Fields(hosts[0], {"addr", "cmnt"}), server_->host() + " " + text::Utf8ToGbk("本机数据服务器"));

    // A fixed cut date and a host list, seen without restarting the server.
    Database db = server::OpenServerDatabase(dir_.path());
    server::SetSetting(db, server::kCleantoSetting, "20231229");
    WriteFile(dir_ / "in/hosts.csv", "nett,addr,cmnt\n1,data.example.com:8080,主服务器\n2,10.0.0.5,备用\n");
    server_test::CollectingLog log;
    server::ImportHosts(db, dir_ / "in/hosts.csv", log.log());
    doc = Xml("/login.php?vrsn=1106&code=1&from=1");
    root = doc.document_element();
    EXPECT_EQ(Child(root.child("auth"), "cleanto"), "20231229");
    hosts = Nodes(root.child("hosts"), "child::*");
    ASSERT_EQ(hosts.size(), 2u);
    EXPECT_EQ(Child(hosts[0], "addr"), "data.example.com:8080");
    EXPECT_EQ(Child(hosts[1], "cmnt"), text::Utf8ToGbk("备用"));

    // Back to the derived date.
    server::DeleteSetting(db, server::kCleantoSetting);
    doc = Xml("/login.php?from=1");
    EXPECT_EQ(Child(doc.document_element().child("auth"), "cleanto"), "20240104");
}

TEST_F(ServerTest, DailyRepliesHoldTheRequestedRangeOldestFirst) {
    Start();
    const std::string base = "/daily.php?vrsn=1106&code=1&mrkt=SS&stck=600000";
    pugi::xml_document doc = Xml(base + "&frst=0&last=99999999");
    EXPECT_EQ(Dates(doc, "//daily").size(), 8u);
    EXPECT_EQ(Fields(doc.select_node("//daily").node(), {"date", "open", "high", "low", "close", "volume"}),
              "20240102 10 10.2 9.9 10.1 1000");
    // Large volumes stay plain decimals.
    EXPECT_NE(Get(base + "&frst=20240110&last=20240110").body.find("<volume>60000000000</volume>"), std::string::npos);

    // Both bounds are inclusive.
    EXPECT_EQ(Dates(Xml(base + "&frst=20240104&last=20240109"), "//daily"),
              (std::vector<std::string>{"20240104", "20240105", "20240108", "20240109"}));
    // The client's incremental request: the day after its newest bar onwards.
    EXPECT_EQ(Dates(Xml(base + "&frst=20240111&last=99999999"), "//daily"), (std::vector<std::string>{"20240111"}));
    // Empty ranges and unknown stocks give a valid reply without records,
    // long enough for the client to accept it as a reply.
    for (const std::string& target : {base + "&frst=20240112&last=99999999", base + "&frst=20240109&last=20240104",
                                      std::string("/daily.php?mrkt=SZ&stck=600000&frst=0&last=99999999")}) {
        const pugi::xml_document empty = Xml(target);
        EXPECT_TRUE(empty.select_nodes("//daily").empty()) << target;
        EXPECT_GT(Get(target).body.size(), 10u);
    }
}

TEST_F(ServerTest, DividendRepliesUseTheClientsFieldNames) {
    Start();
    pugi::xml_document doc = Xml("/divid.php?vrsn=1106&code=1&mrkt=SS&stck=600000&frst=20210101&last=99999999");
    const std::vector<pugi::xml_node> records = Nodes(doc, "//divid");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(Fields(records[0], {"date", "songgu", "zhuanzheng", "paixi", "peigu", "ppeigu"}),
              "20230101 0 0 10.166131 3 5.5");
    EXPECT_EQ(Dates(Xml("/divid.php?mrkt=SS&stck=600000&frst=0&last=99999999"), "//divid"),
              (std::vector<std::string>{"20200101", "20230101"}));
}

TEST_F(ServerTest, CodeRepliesSendRecordsStampedAfterTheCursor) {
    Start();
    const server_test::Reply reply = Get("/code.php?vrsn=1106&code=4294967295&pdate=0");
    EXPECT_EQ(reply.content_type, "text/xml; charset=gb2312");
    EXPECT_EQ(reply.body.rfind("<?xml version=\"1.0\" encoding=\"gb2312\"?>", 0), 0u);
    // Full-width Ａ stays the GBK double byte A3C1.
    EXPECT_NE(reply.body.find("<abbr>\xCD\xF2\xBF\xC6\xA3\xC1</abbr>"), std::string::npos);
    pugi::xml_document doc = Xml("/code.php?vrsn=1106&code=1&pdate=0");
    const std::vector<pugi::xml_node> stocks = Nodes(doc.document_element(), "child::*");
    ASSERT_EQ(stocks.size(), 3u);
    EXPECT_EQ(Fields(stocks[1], {"date", "market", "code", "abbr", "pinyin", "type"}),
              "20240101 SS 600000 " + kPufaGbk + " PFYH 1");
    // A client holding the newest stamp gets nothing.
    EXPECT_TRUE(Xml("/code.php?pdate=20240101").document_element().select_nodes("child::*").empty());

    // A later import: one stock renamed, one new, one unchanged.
    WriteFile(dir_ / "in/stocks2.csv",
              "market,code,name,pinyin,type\n"
              "SS,600000,浦发银行,PFYH,1\n"
              "SZ,000002,万科A,WKA,1\n"
              "SZ,300059,东方财富,DFCF,1\n");
    server_test::CollectingLog log;
    Database db = server::OpenServerDatabase(dir_.path());
    server::ImportStocksCsv(db, dir_ / "in/stocks2.csv", 20240105, log.log());
    doc = Xml("/code.php?pdate=20240101");
    std::vector<std::string> changed;
    for (const pugi::xml_node& stock : Nodes(doc.document_element(), "child::*"))
        changed.push_back(Fields(stock, {"code", "date"}));
    EXPECT_EQ(changed, (std::vector<std::string>{"000002 20240105", "300059 20240105"}));
    EXPECT_TRUE(Xml("/code.php?pdate=20240105").document_element().select_nodes("child::*").empty());
}

TEST_F(ServerTest, PoolRepliesListTheModelsEntriesByRank) {
    Start();
    pugi::xml_document doc = Xml("/pool.php?vrsn=1106&code=1&modl=vpool");
    EXPECT_EQ(Child(doc.select_node("//caption").node().parent(), "caption") + " " +
                  Child(doc.select_node("//info").node().parent(), "info"),
              text::Utf8ToGbk("价值模型股票池 示例"));
    const std::vector<pugi::xml_node> entries = Nodes(doc, "//pool");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(Fields(entries[0], {"rank", "date", "market", "code", "abbr"}), "1 20240105 SS 600000 " + kPufaGbk);
    EXPECT_EQ(Fields(entries[1], {"capital", "pe", "pb", "mpg"}), "1100 8.5 0.9 -12.25");
    EXPECT_EQ(Child(entries[2], "abbr"), "");  // a stock missing from the stock list

    doc = Xml("/pool.php?modl=gpick");
    EXPECT_TRUE(doc.select_nodes("//pool").empty());
    EXPECT_EQ(std::string(doc.select_node("//caption").node().text().get()), "");
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
    for (const std::string& good : {"/pool.php?modl=" + std::string(16, 'p'), std::string("/pool.php?modl=%4A%4f%6a%6F%30%39")})
        EXPECT_EQ(Get(good).status, 200) << good;
    for (const char* target : {"/", "/login.phpx", "/loginXphp", "/daily.php/x", "/pool"})
        EXPECT_EQ(Get(target).status, 404) << target;
    // Still serving, and a negative date is just an integer.
    EXPECT_EQ(Dates(Xml(daily + "&mrkt=SS&stck=600000&frst=-1&last=20240102"), "//daily").size(), 1u);
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
