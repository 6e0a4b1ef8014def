// Stock pools: replies that give no pool (fetching and adding end to end
// through korvel-cli pool, sync_cli_test.cpp).
#include <gtest/gtest.h>

#include "sync/stock_pool.h"
#include "sync_fixture.h"

namespace {

using sync_test::TinyServer;

TEST(StockPool, NoReplyOrNoXmlGivesNoPool) {
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
