// The desktop's delete of several watched stocks (korvel-cli watch rm
// deletes one, with the table and adding: strategy_cli_test.cpp).
#include <gtest/gtest.h>

#include "strategy/watch_list.h"
#include "strategy_fixture.h"

namespace {

using strategy_test::InsertBar;

TEST(WatchList, DeletingRemovesBarsStrategiesOfEveryVersionAndTradesButNotDividends) {
    strategy_test::Store store;
    Database& db = store.db();
    const auto count = [&db](const std::string& table) {
        return testing_support::Count(db, "SELECT COUNT(*) FROM " + table);
    };
    InsertBar(db, "SS", "600000", 20240102, 9, 9, 9, 9, 1);
    InsertBar(db, "SZ", "000001", 20240102, 9, 9, 9, 9, 1);
    ASSERT_TRUE(db.Exec("INSERT INTO SECRET(MARKET, CODE, VRSN) VALUES('SS','600000',1106), ('SS','600000',1105)"));
    ASSERT_TRUE(db.Exec("INSERT INTO TRADELOG VALUES('SS','600000',1106,20240102,0,9,0)"));
    ASSERT_TRUE(db.Exec("INSERT INTO DIVIDEND VALUES('SS','600000',20240102,0,0,1,0,0)"));
    EXPECT_EQ(DeleteWatchedStocks(db, {{"SS", "600000"}}), 1);
    EXPECT_EQ(count("DAILY"), 1);
    EXPECT_EQ(count("SECRET"), 0);
    EXPECT_EQ(count("TRADELOG"), 0);
    EXPECT_EQ(count("DIVIDEND"), 1);

    ASSERT_TRUE(db.Exec("DROP TABLE TRADELOG"));
    EXPECT_EQ(DeleteWatchedStocks(db, {{"SZ", "000001"}}), 0);  // counted by the last statement
    EXPECT_EQ(count("DAILY"), 0);
}

}  // namespace
