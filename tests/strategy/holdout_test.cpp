// korvel-cli breed --holdout end to end: the held-out block agrees with an
// independent replay of the stored rule over the held-out days (a holdout
// longer than the stock allows: strategy_cli_test.cpp).
#include <gtest/gtest.h>

#include "../support/run_process.h"
#include "datastore/local_store.h"
#include "strategy/holdout_check.h"
#include "strategy/strategy_record.h"
#include "strategy/strategy_signals.h"
#include "strategy_fixture.h"
#include "text/format.h"

namespace {

using testing_support::ProcessResult;

// The trades of per-bar signals over the bars after `first`, each acted on
// at the next bar's open, the last open closing what is still held; the
// returns as the stored log keeps them (single precision).
struct Replayed {
    std::vector<TradeLogEntry> log;
    int trades = 0;
    double sum = 0;
};

Replayed Replay(const CDataCenter& dc, size_t first, bool alwaysHold) {
    const RunParameters& p = dc.Parameters();
    const std::vector<float>& open = dc.Adjusted().open;
    const size_t last = dc.Dates().size() - 1;
    Replayed r;
    double entry = 0;
    for (size_t k = first; k < last; ++k) {
        const float price = open[k + 1];
        const bool hold = (alwaysHold || dc.Signals()[k] != 0) && k + 1 < last;
        if (hold && entry == 0) {
            entry = price * (1.0 + static_cast<double>(p.buyCharge));
            r.log.push_back({dc.Dates()[k + 1], 'B', price, 0.0f, 0.0f});
        } else if (!hold && entry != 0) {
            const auto q = static_cast<float>((price - entry) / entry - static_cast<double>(p.sellCharge));
            r.log.push_back({dc.Dates()[k + 1], 'S', price, q, 0.0f});
            entry = 0;
            ++r.trades;
            r.sum += q;
        }
    }
    return r;
}

// The acceptance command: both blocks are printed, the stored range ends 120
// bars early, and the held-out block is the stored rule traded over the
// held-out days, computed here from its per-bar signals (the figures a trade
// log gives are the report's, pinned by strategy_report_test.cpp).
class Holdout : public strategy_test::EngineTest {};

TEST_F(Holdout, HeldOutFiguresAgreeWithAnIndependentReplayOfTheStoredRule) {
    strategy_test::Store store;
    strategy_test::ImportPufa(store.db());
    const ProcessResult r =
        testing_support::RunCli(store.dir().path(), {"breed", "SS", "600000", "--holdout", "120", "--seed", "7", "--save"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const size_t report = r.out.find("=========操盘策略生成报告=========");
    const size_t block = r.out.find("=========样本外检验=========");
    ASSERT_TRUE(report != std::string::npos && block != std::string::npos && report < block) << r.out;
    const std::string held = r.out.substr(block);

    CDataCenter dc;
    const auto local = OpenLocalStore(store.dir().path(), dc, [](std::string_view m) { ADD_FAILURE() << m; });
    ASSERT_TRUE(local && dc.LoadStock("600000", "SS"));
    ASSERT_TRUE(LoadStoredStrategy(local->database, dc, {}));
    ASSERT_TRUE(ComputeStrategySignals(dc));
    const size_t n = dc.Dates().size();
    EXPECT_EQ(local->database.GetTable("SELECT DEND FROM SECRET")->At(0, 0), std::to_string(dc.Dates()[n - 121]));

    const Replayed rule = Replay(dc, n - 121, false);
    const Replayed hold = Replay(dc, n - 121, true);
    ASSERT_GT(rule.trades, 0);
    const int first = dc.Dates()[n - 120], last = dc.Dates()[n - 1];
    for (const std::string& line :
         {text::Format("检验区间: %d年%2d月%2d日 - %d年%2d月%2d日 (120个交易日)", first / 10000, first / 100 % 100,
                       first % 100, last / 10000, last / 100 % 100, last % 100),
          text::Format("交易次数: %d\n", rule.trades), text::Format("累计盈利: %.2f %%\n", rule.sum * 100),
          text::Format("同期买入持有: %.2f %%\n", hold.sum * 100)})
        EXPECT_NE(held.find(line), std::string::npos) << line << "\n" << held;

    // The core's check of the stored rule records the same trades, bit for bit.
    const std::optional<HoldoutCheck> check = CheckHoldout(dc, 120);
    ASSERT_TRUE(check);
    ASSERT_EQ(check->tradeLog.size(), rule.log.size());
    for (size_t i = 0; i < rule.log.size(); ++i) {
        const TradeLogEntry &a = check->tradeLog[i], &b = rule.log[i];
        EXPECT_TRUE(a.date == b.date && a.kind == b.kind && a.price == b.price && a.profit == b.profit) << i;
    }
}

}  // namespace
