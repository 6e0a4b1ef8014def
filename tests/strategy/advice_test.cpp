// The current advice and the action letters from per-bar signals.
#include <gtest/gtest.h>

#include "strategy/advice.h"
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

}  // namespace
