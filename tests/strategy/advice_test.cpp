// The current advice and the action letters from per-bar signals, and the
// evening digest's rows from the recorded advice changes.
#include <gtest/gtest.h>

#include "strategy/advice.h"
#include "strategy/advice_digest.h"
#include "strategy_fixture.h"

namespace {

using strategy_test::Gbk;

std::string Advice(const std::vector<int32_t>& signals) {
    std::vector<int32_t> dates;
    for (size_t i = 0; i < signals.size(); ++i) dates.push_back(20240101 + static_cast<int32_t>(i));
    return CurrentAdvice(signals, dates);
}

TEST(CurrentAdvice, TheTwoNewestSignalsDecide) {
    EXPECT_EQ(Advice({0, 1, 0}), Gbk("卖出"));
    EXPECT_EQ(Advice({1, 0, 1}), Gbk("买入"));
    EXPECT_EQ(Advice({1, 1}), Gbk("持有"));
    EXPECT_EQ(Advice({0, 0}), Gbk("观望"));
    EXPECT_EQ(Advice({2, 1}), Gbk("卖出"));  // differ, and the previous is non-zero
    EXPECT_EQ(Advice({1}), "");
    EXPECT_EQ(Advice({}), "");
    EXPECT_EQ(CurrentAdvice({0, 1}, {20240101}), "");  // not one signal per bar
    EXPECT_EQ(CurrentAdvice({0, 1}, {}), "");
}

TEST(ActionLetter, ChangesAreBuysAndSells) {
    const std::vector<int32_t> signals = {0, 0, 1, 1, 0};
    std::string letters;
    int32_t previous = -1;
    for (const int32_t s : signals) {
        letters += ActionLetter(s, previous);
        previous = s;
    }
    EXPECT_EQ(letters, "swbhs");
    EXPECT_EQ(ActionLetter(1, -1), 'b');
    EXPECT_EQ(ActionLetter(2, 1), '-');
}

TEST(AdviceDigest, OneRowPerStockWithBuyAndSellFirst) {
    strategy_test::Store store;
    strategy_test::InsertStock(store.db(), "SS", "600000", Gbk("浦发银行"), 1);
    strategy_test::InsertStock(store.db(), "SZ", "000001", Gbk("平安银行"), 1);
    strategy_test::InsertStock(store.db(), "SS", "000001", Gbk("上证指数"), 12);
    const auto change = [](int64_t run, const char* market, const char* code, int date, const char* before,
                           const char* after, double close, double previous) {
        return RecordedChange{run, {market, code, date, Gbk(before), Gbk(after), close, previous}};
    };
    const std::vector<RecordedChange> changes = {
        change(1, "SZ", "000001", 20200102, "观望", "买入", 11, 10),
        change(1, "SS", "600000", 20200102, "持有", "卖出", 9, 10),
        change(1, "SS", "000001", 20200102, "观望", "持有", 3000.5, 3000),
        change(2, "SS", "600000", 20200103, "卖出", "观望", 9.5, 9),  // joins the first: 持有 -> 观望
        change(2, "SZ", "000002", 20200103, "观望", "买入", 20, 19),
        change(3, "SZ", "000002", 20200106, "买入", "观望", 19, 20),  // back where it was: left out
        change(3, "SS", "600016", 20200106, "", "买入", 8, 0),        // not in the stock list, no bar before
    };
    std::vector<std::string> lines;
    for (const DigestRow& row : DigestOf(store.db(), changes)) {
        std::string line;
        for (const std::string& cell : DigestCells(row)) line += text::GbkToUtf8(cell) + "|";
        lines.push_back(line);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"600016||- -> 买入|8.00|+0.00|", "000001|平安银行|观望 -> 买入|11.00|+10.00|",
                                               "000001|上证指数|观望 -> 持有|3000.500|+0.02|",
                                               "600000|浦发银行|持有 -> 观望|9.50|+5.56|"}));
}

}  // namespace
