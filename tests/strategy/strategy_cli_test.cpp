// End-to-end runs of korvel-cli breed, report, signals and watch on test
// databases, one of them holding the real bundled history of SS 600000.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "../support/run_process.h"
#include "datastore/local_store.h"
#include "strategy/holdout_check.h"
#include "strategy/strategy_record.h"
#include "strategy/strategy_signals.h"
#include "strategy_fixture.h"
#include "text/format.h"
#include "text/gbk.h"
#include "text/parse.h"

namespace {

using testing_support::Lines;
using testing_support::ProcessResult;

ProcessResult Cli(const strategy_test::Store& store, const std::vector<std::string>& words) {
    return testing_support::RunCli(store.dir().path(), words);
}

std::string Utf8(const std::string& gbk) {
    std::string text = text::GbkToUtf8(gbk);
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
    return text;
}

// The number after `label` in a report line.
double ReportFigure(const std::string& report, const std::string& label) {
    const size_t at = report.find(label);
    return at == std::string::npos ? NAN : text::ParseReal(report.substr(at + label.size()));
}

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

// The database of a test: SS 600000 with its real history, dividends and
// the stock list.
class PufaCli : public strategy_test::EngineTest {
protected:
    void SetUp() override { strategy_test::ImportPufa(store_.db()); }

    TextTable Query(const std::string& sql) {
        std::optional<TextTable> t = store_.db().GetTable(sql);
        if (!t) throw std::runtime_error("query failed: " + sql);
        return *t;
    }

    void ExpectProgressReportAndRow(const ProcessResult& bred);
    void ExpectLogReportCodeAndAdviceAgree();
    void ExpectReportCommand();
    void ExpectHeldOutBlock(const std::string& printed);

    strategy_test::Store store_;
};

void PufaCli::ExpectProgressReportAndRow(const ProcessResult& bred) {
    const std::vector<std::string> lines = Lines(bred.out);
    size_t generations = 0;
    while (generations < lines.size() && lines[generations].rfind("generation ", 0) == 0) ++generations;
    ASSERT_GT(generations, 60u);
    EXPECT_EQ(lines[0].rfind("generation 1  depth 0  fitness ", 0), 0u) << lines[0];
    // The database's EVOLUTE_STEPS is 60: the last line reaches that depth.
    EXPECT_NE(lines[generations - 1].find("  depth 60  "), std::string::npos) << lines[generations - 1];
    EXPECT_EQ(lines.back(), "saved SS 600000");

    const TextTable secret = Query("SELECT CRPT, UDAY || ' ' || NUMS || ' ' || LENG FROM SECRET");
    ASSERT_EQ(secret.RowCount(), 1u);
    const std::string stored = Utf8(secret.At(0, 0));
    EXPECT_NE(bred.out.find("\n" + stored + "\n\n=========样本外检验========="), std::string::npos);
    EXPECT_EQ(stored.rfind("=========操盘策略生成报告=========\n\n生成对象: 600000 浦发银行\n验证区间: ", 0), 0u);
    EXPECT_NE(stored.find("引擎版本\n◎Tavrin≡1≡1≡0≡6◎\n\n生成对象\nSS600000\n\n操盘密码\n◎"), std::string::npos);
    EXPECT_EQ(secret.At(0, 1), "20220114 3 23");  // the newest bundled bar
}

void PufaCli::ExpectLogReportCodeAndAdviceAgree() {
    const TextTable secret = Query("SELECT CRPT, INDI, DBGN, DEND FROM SECRET");
    const std::string report = Utf8(secret.At(0, 0));
    const TextTable trades = Query("SELECT DDATE, BS, PROFIT FROM TRADELOG ORDER BY DDATE");

    // Trade count and accumulated profit of the report from the stored log.
    const double count = ReportFigure(report, "交易次数: ");
    EXPECT_EQ(count * 2, static_cast<double>(trades.RowCount()));
    double sum = 0.0;
    for (size_t r = 0; r < trades.RowCount(); ++r) sum += text::ParseReal(trades.At(r, 2));
    EXPECT_NEAR(ReportFigure(report, "累计盈利: "), sum, 0.005 * (count + 1));

    // The per-bar signals of the stored genes replayed over the range give
    // the stored trades, and their last two give the stored advice (how the
    // code string spells the genes: strategy_record_test.cpp).
    const ProcessResult signals = Cli(store_, {"signals", "SS", "600000"});
    ASSERT_EQ(signals.exitCode, 0) << signals.err;
    std::vector<std::string> lines = Lines(signals.out);
    ASSERT_EQ(lines.back(), "advice\t" + Utf8(secret.At(0, 1)));
    lines.pop_back();
    ASSERT_EQ(lines.size(), 1200u);
    std::vector<int32_t> dates, values;  // lines "date<TAB>signal<TAB>letter"
    for (const std::string& line : lines) {
        ASSERT_EQ(std::count(line.begin(), line.end(), '\t'), 2) << line;
        dates.push_back(text::ParseInt(line));
        values.push_back(text::ParseInt(line.substr(line.find('\t') + 1)));
    }
    const int32_t begin = text::ParseInt(secret.At(0, 2));
    const int32_t end = text::ParseInt(secret.At(0, 3));
    std::vector<std::string> replayed;
    bool holding = false;
    for (size_t k = 0; k + 1 < dates.size() && dates[k] < end; ++k) {
        if (dates[k] < begin) continue;
        const bool last = dates[k + 1] == end;
        if (values[k] != 0 && !last && !holding) replayed.push_back(std::to_string(dates[k + 1]) + ":0");
        else if ((values[k] == 0 || last) && holding) replayed.push_back(std::to_string(dates[k + 1]) + ":1");
        else continue;
        holding = !holding;
    }
    std::vector<std::string> stored;
    for (size_t r = 0; r < trades.RowCount(); ++r) stored.push_back(trades.At(r, 0) + ":" + trades.At(r, 1));
    EXPECT_EQ(replayed, stored);
}

void PufaCli::ExpectReportCommand() {
    const ProcessResult r = Cli(store_, {"report", "SS", "600000"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string stored = Utf8(Query("SELECT CRPT FROM SECRET").At(0, 0));
    EXPECT_EQ(r.out.rfind(stored + "\n\n时间\t方向\t价格(元)\t收益(%)\n", 0), 0u);
    const std::vector<std::string> lines = Lines(r.out);
    const TextTable first = Query("SELECT DDATE, PRICE FROM TRADELOG ORDER BY DDATE LIMIT 1");
    const std::string date = first.At(0, 0);
    const std::string row = date.substr(0, 4) + "-" + date.substr(4, 2) + "-" + date.substr(6, 2) + "\t买\t" +
                            text::Format("%.2f", text::ParseReal(first.At(0, 1))) + "\t";
    EXPECT_NE(std::find(lines.begin(), lines.end(), row), lines.end()) << row;
}

// The held-out block is the stored rule traded over the held-out days,
// computed here from its per-bar signals (the figures a trade log gives are
// the report's, pinned by strategy_report_test.cpp), and the stored range
// ends 120 bars early.
void PufaCli::ExpectHeldOutBlock(const std::string& printed) {
    const size_t block = printed.find("=========样本外检验=========");
    ASSERT_NE(block, std::string::npos);
    const std::string held = printed.substr(block);
    CDataCenter dc;
    const auto local = OpenLocalStore(store_.dir().path(), dc, [](std::string_view m) { ADD_FAILURE() << m; });
    ASSERT_TRUE(local && dc.LoadStock("600000", "SS"));
    ASSERT_TRUE(LoadStoredStrategy(local->database, dc, {}));
    ASSERT_TRUE(ComputeStrategySignals(dc));
    const size_t n = dc.Dates().size();
    EXPECT_EQ(Query("SELECT DEND FROM SECRET").At(0, 0), std::to_string(dc.Dates()[n - 121]));

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

// korvel-cli breed SS 600000 --holdout 120 --seed 7 --save on the real
// history: the stored trade log, report text and advice agree with each
// other and with what was printed, the held-out block with a replay of the
// stored rule, and the same seed breeds the same with the record-by-record
// evaluator.
TEST_F(PufaCli, BreedSaveAndReadBackAgreeAndTheSeedRepeatsTheRunWithEitherEvaluator) {
    const std::vector<std::string> breed = {"breed", "SS", "600000", "--holdout", "120", "--seed", "7", "--save"};
    const ProcessResult bred = Cli(store_, breed);
    ASSERT_EQ(bred.exitCode, 0) << bred.err;
    EXPECT_EQ(bred.err, "");
    ExpectProgressReportAndRow(bred);
    ExpectLogReportCodeAndAdviceAgree();
    ExpectReportCommand();
    ExpectHeldOutBlock(bred.out);

    strategy_test::Store other;
    strategy_test::ImportPufa(other.db());
    std::vector<std::string> withReference = breed;
    withReference.insert(withReference.end(), {"--evaluator", "reference"});
    const ProcessResult again = Cli(other, withReference);
    ASSERT_EQ(again.exitCode, 0) << again.err;
    // Every generation's progress, the whole report and the held-out block,
    // with the strategy it stores.
    EXPECT_EQ(again.out, bred.out);
}

class StrategyCli : public ::testing::Test {
protected:
    strategy_test::Store store_;
};

// What breed, report and signals refuse, and the longest holdout a stock
// allows (usage errors: command_line_test.cpp).
TEST_F(StrategyCli, RefusalsNameTheStockAndTheReason) {
    strategy_test::InsertBars(store_.db(), "SS", "600001", 20200101, 1);
    strategy_test::InsertBars(store_.db(), "SS", "600002", 20200101, 40);
    const struct {
        std::vector<std::string> words;
        int exitCode;
        const char* says;  // on stdout for 0, else on stderr
    } cases[] = {
        {{"breed", "SZ", "000002"}, 1, "no daily bars stored for SZ 000002"},
        {{"breed", "SS", "600001"}, 1, "验证区间内没有可用于生成策略的交易日！"},  // one bar: no cases
        {{"report", "SS", "600001"}, 1, "SS 600001 has no stored strategy"},
        {{"signals", "SS", "600001"}, 1, "SS 600001 has no stored strategy"},
        {{"breed", "SS", "600002", "--holdout", "39"}, 1,
         "cannot hold out 39 days: SS 600002 has 40 daily bars and breeding needs at least 2 of them "
         "(--holdout at most 38)"},
        {{"breed", "SS", "600002", "--holdout", "38", "--depth", "2"}, 0, "(38个交易日)"},
    };
    for (const auto& c : cases) {
        const ProcessResult r = Cli(store_, c.words);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.says << "\n" << r.err;
        EXPECT_NE((c.exitCode == 0 ? r.out : r.err).find(c.says), std::string::npos) << r.out << r.err;
        EXPECT_TRUE(c.exitCode == 0 || r.out.empty()) << r.out;  // a refusal prints nothing on stdout
    }
}

TEST_F(StrategyCli, BreedOnSyntheticBarsWithAStyleAndLimits) {
    strategy_test::InsertBars(store_.db(), "SS", "600001", 20200101, 400);
    const ProcessResult r =
        Cli(store_, {"breed", "SS", "600001", "--style", "2", "--days", "300", "--depth", "5", "--seed", "3"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("  depth 5  "), std::string::npos);
    EXPECT_EQ(r.out.find("  depth 6  "), std::string::npos);
    // The newest 300 of the dates 20200101 .. 20200500.
    EXPECT_NE(r.out.find("验证区间: 2020年 2月 1日 - 2020年 5月 0日"), std::string::npos);
    EXPECT_EQ(r.out.find("saved"), std::string::npos);
    EXPECT_EQ(store_.db().GetTable("SELECT COUNT(*) FROM SECRET")->At(0, 0), "0");
}

// watch add, the table (the newest bar against the one before, or against
// its open when alone; security type 1 first, by code; three decimals for
// types 11 to 14; only this version's rows of listed stocks) and watch rm.
TEST_F(StrategyCli, WatchListAddListAndRemove) {
    Database& db = store_.db();
    strategy_test::InsertStock(db, "SS", "600000", strategy_test::Gbk("浦发银行"), 1);
    strategy_test::InsertStock(db, "SZ", "000001", strategy_test::Gbk("平安银行"), 1);
    strategy_test::InsertStock(db, "SZ", "159915", "ETF", 12);
    strategy_test::InsertStock(db, "SS", "600519", strategy_test::Gbk("贵州茅台"), 1);
    strategy_test::InsertBar(db, "SS", "600000", 20240102, 9.0, 9.5, 8.5, 9.2, 1);
    strategy_test::InsertBar(db, "SS", "600000", 20240103, 10.1, 10.6, 9.8, 10.5, 123456);
    strategy_test::InsertBar(db, "SZ", "159915", 20240103, 2.0, 2.2, 1.9, 2.1, 5000);

    const std::string header = "序号\t代码\t名称\t涨幅%\t收盘\t操盘信号\t昨收\t开盘\t最高\t最低\t成交量(万)\t振幅%\t市场\n";
    EXPECT_EQ(Cli(store_, {"watch"}).out, header + "the watch list is empty: add stocks with 'korvel-cli watch add MARKET CODE'\n");
    ProcessResult r = Cli(store_, {"watch", "add", "SS", "600000"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "added SS 600000 浦发银行\n");
    r = Cli(store_, {"watch", "add", "SS", "600000"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "SS 600000 is already on the watch list\n");
    r = Cli(store_, {"watch", "add", "SZ", "300999"});  // not in the stock list
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("SZ 300999 is not in the stock list (4 stocks); run 'korvel-cli sync'"), std::string::npos)
        << r.err;

    ASSERT_TRUE(db.Exec("UPDATE SECRET SET INDI = ?", {strategy_test::Gbk("买入")}));
    ASSERT_TRUE(db.Exec("INSERT INTO SECRET(MARKET, CODE, VRSN) VALUES('SZ', '159915', 1106), "
                        "('SZ', '000001', 1106), ('SS', '600519', 1107), ('SS', '999999', 1106)"));
    EXPECT_EQ(Cli(store_, {"watch"}).out,
              header + "1\t000001\t平安银行\t0.00\t0.00\t\t0.00\t0.00\t0.00\t0.00\t0.00\t0.00\tSZ\n" +
                  "2\t600000\t浦发银行\t14.13\t10.50\t买入\t9.20\t10.10\t10.60\t9.80\t12.35\t8.70\tSS\n" +
                  "3\t159915\tETF\t5.00\t2.100\t\t0.000\t2.000\t2.200\t1.900\t0.50\t15.00\tSZ\n");

    // Every version's strategy and the trades go with the bars; dividends stay.
    ASSERT_TRUE(db.Exec("INSERT INTO SECRET(MARKET, CODE, VRSN) VALUES('SS', '600000', 1107)"));
    ASSERT_TRUE(db.Exec("INSERT INTO TRADELOG VALUES('SS', '600000', 1106, 20240102, 0, 9, 0)"));
    ASSERT_TRUE(db.Exec("INSERT INTO DIVIDEND VALUES('SS', '600000', 20240102, 0, 0, 1, 0, 0)"));
    r = Cli(store_, {"watch", "rm", "SS", "600000"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "deleted SS 600000: 2 daily bars, 2 strategy versions, 1 trade-log rows\n");
    EXPECT_EQ(Lines(Cli(store_, {"watch"}).out).size(), 3u);
    EXPECT_EQ(testing_support::Count(db, "SELECT COUNT(*) FROM DIVIDEND"), 1);
    r = Cli(store_, {"watch", "rm", "SS", "600000"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("is not on the watch list"), std::string::npos);
}

}  // namespace
