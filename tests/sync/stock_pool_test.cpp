// Stock pools: fetching from korvel-server and adding to the watch list.
#include <gtest/gtest.h>

#include "../datastore/store_fixture.h"
#include "sync/stock_pool.h"
#include "sync_fixture.h"

namespace {

using sync_test::Gbk;
using sync_test::TinyServer;

class StockPoolTest : public testing::Test {
protected:
    void SetUp() override {
        server_.Import("import-pools", "--models", "model,caption,info\nvpool,价值精选,说明文字\n");
        server_.Import("import-pools", "--pools",
                       "model,rank,date,market,code,capital,pe,pb,mpg\n"
                       "vpool,2,20111201,SZ,000002,1100,8.55,0.94,-12.257\n"
                       "vpool,1,20111202,SS,600000,2000,6,1,3.5\n"
                       "vpool,3,20111203,SZ,000651,300,12,2.5,0\n");
        server_.Start();
    }
    sync_test::TestServer server_;
    store_fixture::Store store_;
    Database& db_ = store_.db();
};

TEST_F(StockPoolTest, FetchesCaptionInfoAndEntriesInRankOrder) {
    const std::optional<StockPool> pool = FetchPool(server_.access(), "vpool");
    ASSERT_TRUE(pool);
    EXPECT_EQ(pool->caption, Gbk("价值精选"));
    EXPECT_EQ(pool->info, Gbk("说明文字"));
    ASSERT_EQ(pool->entries.size(), 3u);
    const PoolEntry& second = pool->entries[1];
    // The name comes from the server's stock list.
    EXPECT_EQ(PoolRowCells(second), (std::vector<std::string>{"000002", Gbk("万科Ａ"), "20111201", "2", "1100",
                                                               "8.6", "0.9", "-12.26", "SZ"}));

    // An unknown model: no caption (the model's own stays) and no entries.
    const std::optional<StockPool> unknown = FetchPool(server_.access(), "other");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->caption, "");
    EXPECT_TRUE(unknown->entries.empty());
}

TEST_F(StockPoolTest, NoReplyOrNoXmlGivesNoPool) {
    EXPECT_FALSE(FetchPool(ServerAccess{sync_test::ClosedHost(), 1, {}}, "vpool"));
    TinyServer broken(TinyServer::Always("<stockpool><pool>"));
    EXPECT_FALSE(FetchPool(broken.access(), "vpool"));
    // Even a short reply is read when it is XML.
    TinyServer tiny(TinyServer::Always("<a/>"));
    const std::optional<StockPool> empty = FetchPool(tiny.access(), "vpool");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->entries.empty());
}

}  // namespace
