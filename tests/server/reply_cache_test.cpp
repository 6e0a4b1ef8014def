// The reply cache: its byte budget, and that no change to the database is
// hidden by it, in process and end to end.
#include "server/reply_cache.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "../support/run_process.h"
#include "server/data_server.h"
#include "server/importers.h"
#include "server/server_database.h"
#include "test_files.h"
#include "text/format.h"

namespace {

using server::ReplyCache;
using server_test::TempDir;
using server_test::WriteFile;

ReplyCache::Body Text(size_t size, char fill = 'x') { return std::make_shared<const std::string>(size, fill); }

class ReplyCacheTest : public testing::Test {
protected:
    TempDir dir_;
    Database db_ = server::OpenServerDatabase(dir_.path());
};

TEST_F(ReplyCacheTest, KeepsTheMostRecentlyUsedRepliesWithinItsBudget) {
    ReplyCache cache(dir_.path(), 1000);
    for (const char* key : {"a", "b"}) cache.Add(key, cache.Find(key).generation, Text(399));
    EXPECT_EQ(cache.bytes(), 800u);
    EXPECT_TRUE(cache.Find("a").body);  // now used more recently than b
    cache.Add("c", cache.Find("c").generation, Text(399));
    EXPECT_EQ(cache.bytes(), 800u);
    EXPECT_FALSE(cache.Find("b").body);
    EXPECT_EQ(*cache.Find("a").body, std::string(399, 'x'));
    EXPECT_TRUE(cache.Find("c").body);

    // A reply larger than the whole budget is not kept and evicts nothing.
    cache.Add("d", cache.Find("d").generation, Text(1000));
    EXPECT_FALSE(cache.Find("d").body);
    EXPECT_EQ(cache.bytes(), 800u);

    ReplyCache none(dir_.path(), 0);
    none.Add("a", none.Find("a").generation, Text(1));
    EXPECT_FALSE(none.Find("a").body);
}

TEST_F(ReplyCacheTest, AChangeToTheDatabaseDropsEveryReply) {
    ReplyCache cache(dir_.path(), 1 << 20);
    cache.Add("a", cache.Find("a").generation, Text(10));
    ASSERT_TRUE(cache.Find("a").body);
    server::SetSetting(db_, "x", "1");  // another connection commits
    EXPECT_FALSE(cache.Find("a").body);
    EXPECT_EQ(cache.bytes(), 0u);

    // A reply built from data older than the last change seen is refused...
    const uint64_t before = cache.Find("b").generation;
    server::SetSetting(db_, "x", "2");
    EXPECT_FALSE(cache.Find("c").body);  // sees the change
    cache.Add("b", before, Text(10));
    EXPECT_FALSE(cache.Find("b").body);

    // ...and one added before anybody saw the change is dropped at the
    // next lookup.
    const uint64_t current = cache.Find("b").generation;
    server::SetSetting(db_, "x", "3");
    cache.Add("b", current, Text(10));
    EXPECT_FALSE(cache.Find("b").body);

    // Reads of the data by others change nothing.
    cache.Add("b", cache.Find("b").generation, Text(10));
    EXPECT_TRUE(db_.GetTable("SELECT * FROM settings"));
    EXPECT_TRUE(cache.Find("b").body);
}

// A DataServer in this process on an ephemeral loopback port.
class LocalServer {
public:
    LocalServer(const std::filesystem::path& data_dir, size_t cache_bytes)
        : server_(data_dir, false, cache_bytes), port_(server_.Bind({"127.0.0.1", 0}).port) {
        thread_ = std::thread([this] { server_.Run(); });
    }
    ~LocalServer() {
        server_.Stop();
        thread_.join();
    }

    std::string Get(const std::string& target) const {
        httplib::Client client("127.0.0.1", port_);
        const auto result = client.Get(target, {{"Accept-Encoding", "identity"}});
        if (!result) return "no reply";
        return result->status == 200 ? result->body : std::to_string(result->status);
    }

private:
    server::DataServer server_;
    int port_;
    std::thread thread_;
};

class CachedServerTest : public ReplyCacheTest {
protected:
    void SetUp() override {
        WriteFile(dir_ / "in/stocks.csv",
                  "market,code,name,pinyin,type\nSS,600000,浦发银行,PFYH,1\nSZ,000002,万科Ａ,WKA,1\n");
        std::string bars = "date,open,high,low,close,volume\n";
        for (int day = 1; day <= 28; ++day)
            bars += text::Format("202401%02d,10.%d,11.25,9.5,10.%d,%d\n", day, day, day, day * 1000);
        WriteFile(dir_ / "in/SS_600000.csv", bars);
        WriteFile(dir_ / "in/dividend.csv",
                  "market,code,date,songgu,zhuanzeng,paixi,peigu,peigujia\n"
                  "SS,600000,20240110,1,0,2.5,0,0\n");
        WriteFile(dir_ / "in/pool_models.csv", "model,caption,info\nvpool,价值,A&B\n");
        WriteFile(dir_ / "in/pools.csv",
                  "model,rank,date,market,code,capital,pe,pb,mpg\n"
                  "vpool,1,20240105,SZ,000002,1100,8.5,0.9,-12.25\n");
        server_test::CollectingLog log;
        server::ImportStocksCsv(db_, dir_ / "in/stocks.csv", 20240101, log.log());
        server::ImportDailyCsv(db_, dir_ / "in/SS_600000.csv", log.log());
        server::ImportDividendCsv(db_, dir_ / "in/dividend.csv", log.log());
        server::ImportPoolModels(db_, dir_ / "in/pool_models.csv", log.log());
        server::ImportPools(db_, dir_ / "in/pools.csv", log.log());
        ASSERT_TRUE(log.problems.empty()) << log.problems.front();
    }

    // Replaces the bar of 20240128 with one whose prices are all `price`.
    void ImportLastBar(const std::string& price) {
        WriteFile(dir_ / "in/SS_600000.csv", "date,open,high,low,close,volume\n20240128," + price + "," + price + "," +
                                                 price + "," + price + ",1\n");
        server_test::CollectingLog log;
        const server::ImportTotals totals = server::ImportDailyCsv(db_, dir_ / "in/SS_600000.csv", log.log());
        ASSERT_EQ(totals.written, 1);
    }
};

TEST_F(CachedServerTest, CachedAndUncachedRepliesAreByteIdentical) {
    const LocalServer cached(dir_.path(), server::kDefaultCacheBytes);
    const LocalServer uncached(dir_.path(), 0);
    const std::string daily = "/daily.php?vrsn=1106&code=1&mrkt=SS&stck=600000";
    for (const std::string& target : {
             daily + "&frst=0&last=99999999",
             daily + "&frst=20240110&last=20240120",
             daily + "&frst=20240128&last=99999999",
             daily + "&frst=20240129&last=99999999",
             std::string("/divid.php?mrkt=SS&stck=600000&frst=0&last=99999999"),
             std::string("/code.php?pdate=0"),
             std::string("/code.php?vrsn=1106&pdate=20240101"),
             std::string("/pool.php?modl=vpool"),
             std::string("/pool.php?modl=gpick"),
         }) {
        const std::string expected = uncached.Get(target);
        EXPECT_GT(expected.size(), 40u) << target;
        EXPECT_EQ(cached.Get(target), expected) << target;  // built and kept
        EXPECT_EQ(cached.Get(target), expected) << target;  // from the cache
    }
    // A cached reply never answers a request whose parameters are wrong.
    EXPECT_EQ(cached.Get("/daily.php?vrsn=x&mrkt=SS&stck=600000&frst=0&last=99999999"), "400");
}

TEST_F(CachedServerTest, AnImportShowsInTheVeryNextReply) {
    const LocalServer server(dir_.path(), server::kDefaultCacheBytes);
    const std::string target = "/daily.php?mrkt=SS&stck=600000&frst=20240101&last=99999999";
    // Other clients keep asking for the same reply, so replies are built,
    // cached and dropped while the data changes under them.
    std::atomic<bool> done{false};
    std::atomic<int> failures{0};
    std::vector<std::thread> others;
    for (int t = 0; t < 3; ++t) {
        others.emplace_back([&] {
            while (!done)
                if (server.Get(target).find("<bars>") == std::string::npos) ++failures;
        });
    }
    for (int round = 1; round <= 100; ++round) {
        const std::string price = text::Format("%d.25", 20 + round);
        ImportLastBar(price);
        EXPECT_NE(server.Get(target).find("<close>" + price + "</close>"), std::string::npos) << "round " << round;
        EXPECT_NE(server.Get(target).find("<close>" + price + "</close>"), std::string::npos) << "round " << round;
    }
    done = true;
    for (auto& other : others) other.join();
    EXPECT_EQ(failures, 0);

    // An import by the korvel-server program itself, another process.
    WriteFile(dir_ / "in/SS_600000.csv", "date,open,high,low,close,volume\n20240128,99.5,99.5,99.5,99.5,1\n");
    const testing_support::ProcessResult import = testing_support::RunServerCommand(
        {"import-csv", "--data", dir_.path().string(), "--daily", (dir_ / "in/SS_600000.csv").string()});
    ASSERT_EQ(import.exitCode, 0) << import.err;
    EXPECT_NE(server.Get(target).find("<close>99.5</close>"), std::string::npos);
}

}  // namespace
