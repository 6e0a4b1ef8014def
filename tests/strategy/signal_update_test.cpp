// The signal step of a synchronisation job over stored strategies.
#include <gtest/gtest.h>

#include "strategy/signal_update.h"
#include "strategy_fixture.h"

namespace {

using strategy_test::Gbk;
using strategy_test::InsertBars;
using strategy_test::Store;
using strategy_test::ThreeGenes;

class SignalUpdateTest : public strategy_test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        InsertBars(store_.db(), "SS", "600000", 1000, 50);
        InsertBars(store_.db(), "SZ", "000001", 2000, 40);
    }

    // A stored strategy row with the given genes and the advice "old" of date 1.
    void StoreRow(const std::string& market, const std::string& code, const std::vector<int16_t>& symbols) {
        std::vector<unsigned char> bytes;
        for (const int16_t s : symbols) {
            bytes.push_back(static_cast<unsigned char>(s & 0xFF));
            bytes.push_back(static_cast<unsigned char>((s >> 8) & 0xFF));
        }
        ASSERT_TRUE(store_.db().Exec("INSERT INTO SECRET(MARKET, CODE, VRSN, NUMS, LENG, GENE, UDAY, INDI) "
                                     "VALUES(?, ?, 1106, 3, 23, ?, 1, 'old')",
                                     {market, code, BlobRef{bytes.data(), bytes.size()}}));
    }

    std::string Advice(const std::string& market, const std::string& code) {
        const std::optional<TextTable> t =
            store_.db().GetTable("SELECT UDAY || ':' || INDI FROM SECRET WHERE MARKET = ? AND CODE = ?", {market, code});
        return t && t->RowCount() > 0 ? t->At(0, 0) : "<none>";
    }

    void Run(const std::vector<SignalJob>& jobs, bool allSignals) {
        UpdateStrategySignals(store_.db(), dc_, jobs, allSignals,
                              [this](const std::string& text) { progress_.push_back(text); },
                              [this](std::string_view m) { messages_.emplace_back(m); });
    }

    Store store_;
    CDataCenter dc_{store_.db()};
    std::vector<std::string> progress_;
    std::vector<std::string> messages_;
};

const std::vector<int16_t> kAlwaysHold = ThreeGenes({-2, 1, 0, 1});
const std::vector<int16_t> kNeverHold = ThreeGenes({-1, 1, 0, 1});

// Every stock once (a stock named twice too), the changes recorded under a
// run number without changing what the plain step stores, and a second run
// that changes no advice records nothing.
TEST_F(SignalUpdateTest, AllSignalsRecomputesEveryStockOnceAndRecordsTheChanges) {
    StoreRow("SS", "600000", kAlwaysHold);
    StoreRow("SZ", "000001", kNeverHold);
    const auto stored = [this] {
        return strategy_test::Rows(store_.db(), "SELECT quote(MARKET), quote(CODE), quote(VRSN), quote(NUMS), "
                                                "quote(LENG), quote(GENE), quote(CRPT), quote(UDAY), "
                                                "quote(INDI), quote(DBGN), quote(DEND) FROM SECRET ORDER BY CODE");
    };
    RecomputeStoredAdvice(store_.db(), dc_, {{"SS", "600000", ""}, {"SZ", "000001", ""}}, true, {}, {}, {});
    const std::string withoutHistory = stored();
    store_.db().Exec("UPDATE SECRET SET UDAY = 1, INDI = 'old'");

    Run({{"SS", "600000", Gbk("浦发银行")}, {"SS", "600000", Gbk("浦发银行")}, {"SZ", "000001", ""}}, true);
    EXPECT_EQ(progress_, (std::vector<std::string>{Gbk("正在更新操盘信号： 600000 浦发银行..."),
                                                   Gbk("正在更新操盘信号： 000001 ...")}));
    EXPECT_EQ(Advice("SS", "600000"), "1049:" + Gbk("持有"));
    EXPECT_EQ(Advice("SZ", "000001"), "2039:" + Gbk("观望"));
    // The last stock recomputed stays current, with its strategy loaded.
    EXPECT_EQ(dc_.Code(), "000001");
    EXPECT_EQ(dc_.Parameters().bestChromosome, kNeverHold);
    EXPECT_EQ(dc_.Signals(), std::vector<int32_t>(40, 0));

    Run({{"SS", "600000", ""}, {"SZ", "000001", ""}}, true);
    EXPECT_EQ(stored(), withoutHistory);
    const std::string history = strategy_test::Rows(
        store_.db(), "SELECT RUN, CODE, DDATE, OLDINDI, NEWINDI, printf('%.2f %.2f', DCLOSE, PCLOSE) "
                     "FROM ADVICECHANGE ORDER BY ROWID");
    EXPECT_EQ(text::GbkToUtf8(history), "1|600000|1049|old|持有|11.70 11.55|\n1|000001|2039|old|观望|10.70 10.55|\n");
    EXPECT_EQ(LatestAdviceRun(store_.db()), 2);
}

TEST_F(SignalUpdateTest, WithoutTheFlagOnlyTheCurrentStockIsRecomputed) {
    StoreRow("SS", "600000", kAlwaysHold);
    StoreRow("SZ", "000001", kNeverHold);
    ASSERT_TRUE(dc_.LoadStock("000001", "SZ"));
    Run({{"SS", "600000", ""}, {"SZ", "000001", ""}}, false);
    EXPECT_EQ(progress_.size(), 2u);
    EXPECT_EQ(Advice("SS", "600000"), "1:old");
    EXPECT_EQ(Advice("SZ", "000001"), "2039:" + Gbk("观望"));
}

TEST_F(SignalUpdateTest, EmptyDamagedAndBarlessStocks) {
    // Watch-list row: empty advice with the newest date.
    ASSERT_TRUE(store_.db().Exec("INSERT INTO SECRET(MARKET, CODE, VRSN, INDI) VALUES('SS','600000',1106,'old')"));
    // Damaged genes: the message, and the old advice stays.
    StoreRow("SZ", "000001", {1, 2, 3});
    // No bars: skipped silently.
    StoreRow("SZ", "000002", kAlwaysHold);
    Run({{"SS", "600000", ""}, {"SZ", "000001", ""}, {"SZ", "000002", ""}}, true);
    EXPECT_EQ(Advice("SS", "600000"), "1049:");
    EXPECT_EQ(Advice("SZ", "000001"), "1:old");
    EXPECT_EQ(Advice("SZ", "000002"), "1:old");
    EXPECT_EQ(messages_, std::vector<std::string>{"数据库读取异常，策略报告无法提取！"});
}

}  // namespace
