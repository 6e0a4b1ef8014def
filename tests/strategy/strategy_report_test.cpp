// The report text, the two trade tables and the strategy tab text.
#include <gtest/gtest.h>

#include "strategy/strategy_report.h"
#include "strategy_fixture.h"

namespace {

using strategy_test::Gbk;

const std::vector<int32_t> kDates = {20240102, 20240103, 20240104, 20240105, 20240108, 20240109};

std::string Report(const std::vector<TradeLogEntry>& log) {
    return BuildReport(log, kDates, "600000", Gbk("浦发银行"), 20240102, 20240109);
}

// The value after `label` up to the line end.
std::string Figure(const std::string& report, const std::string& label) {
    const size_t at = report.find(Gbk(label.c_str()));
    if (at == std::string::npos) return "<missing>";
    const size_t from = at + Gbk(label.c_str()).size();
    return report.substr(from, report.find("\r\n", from) - from);
}

TEST(Report, TwoTradesGiveTheReportText) {
    const std::vector<TradeLogEntry> log = {{20240102, 'B', 10, 0, 1},
                                            {20240103, 'S', 11, 0.10f, 1.10f},
                                            {20240104, 'B', 10, 0, 1.10f},
                                            {20240108, 'S', 9.5f, -0.05f, 1.05f}};
    EXPECT_EQ(Report(log), Gbk("=========操盘策略生成报告=========\r\n\r\n"
                               "生成对象: 600000 浦发银行\r\n"
                               "验证区间: 2024年 1月 2日 - 2024年 1月 9日\r\n\r\n"
                               "累计盈利: 5.00 %\r\n"
                               "复利盈利: 4.50 %\r\n\r\n"
                               "交易次数: 2\r\n"
                               "策略胜率: 50.00% \r\n"
                               "单笔最大盈利: 10.00 %\r\n"
                               "单笔最大亏损: -5.00 %\r\n"
                               "单笔平均盈利: 10.00 %\r\n"
                               "单笔平均亏损: 5.00 %\r\n"
                               "单笔平均利润: 2.50 %\r\n"
                               "平均盈亏比: 2.00\r\n\r\n"
                               "最大连续盈利次数: 1\r\n"
                               "最大连续亏损次数: 1\r\n"
                               "最长交易周期: 3\r\n"
                               "平均交易周期: 2.5\r\n"
                               "平均盈利交易周期: 2.0\r\n"
                               "平均亏损交易周期: 3.0"));
}

TEST(Report, OneSidedLogsAndZeroReturns) {
    const std::vector<TradeLogEntry> wins = {{20240102, 'B', 10, 0, 1}, {20240103, 'S', 11, 0.1f, 1.1f},
                                             {20240104, 'B', 10, 0, 1.1f}, {20240105, 'S', 11, 0.1f, 1.2f}};
    const std::vector<TradeLogEntry> losses = {{20240102, 'B', 10, 0, 1}, {20240103, 'S', 9, -0.1f, 0.9f}};
    // A return of exactly 0 is a loss and ends a winning streak.
    const std::vector<TradeLogEntry> zero = {{20240102, 'B', 10, 0, 1}, {20240103, 'S', 11, 0.1f, 1.1f},
                                             {20240104, 'B', 10, 0, 1.1f}, {20240105, 'S', 10, 0.0f, 1.1f},
                                             {20240108, 'B', 10, 0, 1.1f}, {20240109, 'S', 11, 0.1f, 1.2f}};
    const std::vector<TradeLogEntry> none;
    const struct {
        const std::vector<TradeLogEntry>& log;
        const char* label;
        const char* value;
    } cases[] = {
        {wins, "单笔平均亏损: ", "0.00 %"},     {wins, "平均盈亏比: ", "0.00"},   {wins, "最大连续盈利次数: ", "2"},
        {losses, "单笔平均盈利: ", "0.00 %"},   {losses, "平均盈亏比: ", "0.00"}, {zero, "最大连续盈利次数: ", "1"},
        {zero, "最大连续亏损次数: ", "1"},      {zero, "策略胜率: ", "66.67% "},  {none, "复利盈利: ", "0.00 %"},
    };
    for (const auto& c : cases) EXPECT_EQ(Figure(Report(c.log), c.label), c.value) << c.label << c.log.size();
}

TEST(Report, TradeRowsCarryRunningSums) {
    const std::vector<TradeLogEntry> log = {{20240102, 'B', 10, 0, 1},
                                            {20240103, 'S', 11.006f, 0.10f, 1.10f},
                                            {20240104, 'B', 10, 0, 1.10f},
                                            {20240108, 'S', 9.5f, -0.05f, 1.05f}};
    const std::vector<TradeRow> rows = ReportTradeRows(log);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].time + rows[0].direction + rows[0].price + rows[0].profit, "2024-01-02" + Gbk("买") + "10.00");
    EXPECT_EQ(rows[1].direction + rows[1].price + "/" + rows[1].profit, Gbk("卖") + "11.01/10.00");
    EXPECT_EQ(rows[3].accumulated, "5.00");
    EXPECT_EQ(rows[3].compound, "4.50");
}

// Two decimals for a stock of type 1: korvel-cli report (strategy_cli_test.cpp).
TEST(Report, StoredTradeRowsFollowTheSecurityType) {
    strategy_test::Store store;
    Database& db = store.db();
    ASSERT_TRUE(db.Exec("INSERT INTO TRADELOG VALUES('SS','600000',1106,20240102,0,10.257,0)"));
    ASSERT_TRUE(db.Exec("INSERT INTO TRADELOG VALUES('SS','600000',1106,20240103,1,11.5,12.126)"));
    ASSERT_TRUE(db.Exec("INSERT INTO TRADELOG VALUES('SS','600000',1105,20240104,0,1,0)"));
    EXPECT_EQ(StoredTradeRows(db, "SS", "600000").at(0).price, "10.26");  // not in the stock list: two decimals
    strategy_test::InsertStock(db, "SS", "600000", "x", 12);
    const std::vector<TradeRow> rows = StoredTradeRows(db, "SS", "600000");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].price, "10.257");
    EXPECT_EQ(rows[1].price, "11.500");
    EXPECT_EQ(rows[1].profit, "12.13");
}

TEST(Report, StrategyTabStartsAtTheEngineVersionOrTheToolMark) {
    const std::string strategy = Gbk("引擎版本\r\n◎Tavrin≡1≡1≡0≡6◎");
    EXPECT_EQ(StrategyTabText(Gbk("报告\r\n\r\n\r\n") + strategy), strategy);
    EXPECT_EQ(StrategyTabText(Gbk("报告\r\n工具 X\r\n引擎版本")), Gbk("引擎版本"));
    EXPECT_EQ(StrategyTabText(Gbk("旧报告\r\n工具 X")), Gbk("工具 X"));
    EXPECT_EQ(StrategyTabText(Gbk("只有报告")), "");
}

}  // namespace
