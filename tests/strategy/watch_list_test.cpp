// The watch list's rows, deleting stocks and adding the current stock.
#include <gtest/gtest.h>

#include "strategy/watch_list.h"
#include "strategy_fixture.h"

namespace {

using strategy_test::Gbk;
using strategy_test::InsertBar;
using strategy_test::InsertStock;
using strategy_test::Store;

class WatchListTest : public ::testing::Test {
protected:
    std::string Count(const std::string& table) {
        return store_.db().GetTable("SELECT COUNT(*) FROM " + table)->At(0, 0);
    }
    Store store_;
};

TEST_F(WatchListTest, RowsHoldTheNewestPricesAndTheAdvice) {
    Database& db = store_.db();
    InsertStock(db, "SS", "600000", Gbk("浦发银行"), 1);
    InsertStock(db, "SZ", "000001", Gbk("平安银行"), 1);
    InsertStock(db, "SZ", "159915", "ETF", 12);
    InsertStock(db, "SS", "600519", Gbk("贵州茅台"), 1);
    InsertBar(db, "SS", "600000", 20240102, 9.0, 9.5, 8.5, 9.2, 1);
    InsertBar(db, "SS", "600000", 20240103, 10.1, 10.6, 9.8, 10.5, 123456);  // previous close 9.2
    InsertBar(db, "SZ", "159915", 20240103, 2.0, 2.2, 1.9, 2.1, 5000);        // one bar: base is the open
    ASSERT_TRUE(db.Exec("INSERT INTO SECRET(MARKET, CODE, VRSN, INDI, CRPT) VALUES('SS','600000',1106,?,'r')",
                        {Gbk("买入")}));
    ASSERT_TRUE(db.Exec("INSERT INTO SECRET(MARKET, CODE, VRSN) VALUES('SZ','159915',1106)"));
    ASSERT_TRUE(db.Exec("INSERT INTO SECRET(MARKET, CODE, VRSN) VALUES('SZ','000001',1106)"));
    ASSERT_TRUE(db.Exec("INSERT INTO SECRET(MARKET, CODE, VRSN) VALUES('SS','600519',1105)"));  // other version
    ASSERT_TRUE(db.Exec("INSERT INTO SECRET(MARKET, CODE, VRSN) VALUES('SS','999999',1106)"));  // not listed

    const std::vector<WatchRow> rows = LoadWatchList(db);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].code, "000001");  // security type 1 first, by code
    EXPECT_EQ(rows[1].code, "600000");
    EXPECT_EQ(rows[2].code, "159915");

    EXPECT_EQ(WatchRowCells(rows[1], 1),
              (std::vector<std::string>{"2", "600000", Gbk("浦发银行"), "14.13", "10.50", Gbk("买入"), "9.20",
                                        "10.10", "10.60", "9.80", "12.35", "8.70", "SS"}));
    EXPECT_EQ(WatchRowCells(rows[2], 2),
              (std::vector<std::string>{"3", "159915", "ETF", "5.00", "2.100", "", "0.000", "2.000", "2.200",
                                        "1.900", "0.50", "15.00", "SZ"}));
}

TEST_F(WatchListTest, DeletingRemovesBarsStrategiesOfEveryVersionAndTradesButNotDividends) {
    Database& db = store_.db();
    InsertBar(db, "SS", "600000", 20240102, 9, 9, 9, 9, 1);
    InsertBar(db, "SZ", "000001", 20240102, 9, 9, 9, 9, 1);
    ASSERT_TRUE(db.Exec("INSERT INTO SECRET(MARKET, CODE, VRSN) VALUES('SS','600000',1106), ('SS','600000',1105)"));
    ASSERT_TRUE(db.Exec("INSERT INTO TRADELOG VALUES('SS','600000',1106,20240102,0,9,0)"));
    ASSERT_TRUE(db.Exec("INSERT INTO DIVIDEND VALUES('SS','600000',20240102,0,0,1,0,0)"));
    EXPECT_EQ(DeleteWatchedStocks(db, {{"SS", "600000"}}), 1);
    EXPECT_EQ(Count("DAILY"), "1");
    EXPECT_EQ(Count("SECRET"), "0");
    EXPECT_EQ(Count("TRADELOG"), "0");
    EXPECT_EQ(Count("DIVIDEND"), "1");

    ASSERT_TRUE(db.Exec("DROP TABLE TRADELOG"));
    EXPECT_EQ(DeleteWatchedStocks(db, {{"SZ", "000001"}}), 0);  // counted by the last statement
    EXPECT_EQ(Count("DAILY"), "0");
}

// Adding, listing and removing end to end: strategy_cli_test.cpp.

}  // namespace
