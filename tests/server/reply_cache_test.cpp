// The reply cache: its byte budget, and that no change to the database is
// hidden by it (end to end in server_http_test.cpp).
#include "server/reply_cache.h"

#include <gtest/gtest.h>

#include <memory>

#include "server_fixture.h"

namespace {

using server::ReplyCache;
using server_test::TempDir;

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

}  // namespace
