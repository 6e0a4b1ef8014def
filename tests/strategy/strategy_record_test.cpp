// Saving and loading stored strategies, and the strategy's header and code
// string.
#include <gtest/gtest.h>

#include "datastore/program_version.h"
#include "strategy/strategy_record.h"
#include "strategy/strategy_signals.h"
#include "strategy_fixture.h"

namespace {

using strategy_test::Gbk;
using strategy_test::InsertBars;
using strategy_test::InsertStock;
using strategy_test::Store;
using strategy_test::ThreeGenes;

class RecordTest : public strategy_test::EngineTest {
protected:
    // SS 600000 with 60 bars (dates 1000 .. 1059) as the current stock.
    void Load(int ptype) {
        InsertStock(store_.db(), "SS", "600000", Gbk("浦发银行"), ptype);
        InsertBars(store_.db(), "SS", "600000", 1000, 60);
        dc_.LoadStockList();
        ASSERT_TRUE(dc_.LoadStock("600000", "SS"));
    }

    // A result as a run leaves it: an always-holding strategy and two trades.
    void SetResult(float price) {
        RunParameters& p = dc_.Parameters();
        p.bestChromosome = ThreeGenes({-2, 1, 0, 1});
        p.geneCount = 3;
        p.geneLength = 23;
        p.rangeBegin = 1000;
        p.rangeEnd = 1059;
        p.engineVersion = ProductVersionParts();
        p.tradeLog = {{1010, 'B', price, 0.0f, 1.0f}, {1020, 'S', 11.0f, 0.0734f, 1.0734f}};
        ASSERT_TRUE(ComputeStrategySignals(dc_));  // as the end of a run does
    }

    std::string Cell(const std::string& sql) {
        const std::optional<TextTable> t = store_.db().GetTable(sql);
        return t && t->RowCount() > 0 ? t->At(0, 0) : "<none>";
    }

    std::vector<std::string> messages_;
    MessageSink show_ = [this](std::string_view m) { messages_.emplace_back(m); };
    Store store_;
    CDataCenter dc_{store_.db()};
};

// What a save writes (row, genes, report, trades, advice) is read back and
// checked end to end by korvel-cli breed --save (strategy_cli_test.cpp).
// Saving again updates the row and replaces the trades; prices keep three
// decimals for security types 11 to 14, two for the others.
TEST_F(RecordTest, SavingAgainUpdatesTheRowAndReplacesTheTradesAtThePricesOfTheType) {
    Load(12);
    SetResult(10.257f);
    ASSERT_TRUE(SaveStrategy(store_.db(), dc_, "first", show_));
    EXPECT_EQ(Cell("SELECT PRICE FROM TRADELOG WHERE BS = 0"), "10.257");
    dc_.Parameters().tradeLog = {{1030, 'B', 9.0f, 0.0f, 1.0f}, {1031, 'S', 9.5f, 0.05f, 1.05f},
                                 {1040, 'B', 9.2f, 0.0f, 1.05f}, {1041, 'S', 9.0f, -0.02f, 1.03f}};
    dc_.Parameters().rangeBegin = 1001;
    ASSERT_TRUE(SaveStrategy(store_.db(), dc_, "second", show_));
    EXPECT_EQ(Cell("SELECT COUNT(*) FROM SECRET"), "1");
    EXPECT_EQ(Cell("SELECT substr(CRPT, 1, 6) || DBGN FROM SECRET"), "second1001");
    EXPECT_EQ(Cell("SELECT group_concat(DDATE, ',') FROM TRADELOG"), "1030,1031,1040,1041");
    EXPECT_EQ(dc_.Parameters().reportText, Cell("SELECT CRPT FROM SECRET"));
    EXPECT_EQ(dc_.Parameters().resultSaved, 1);

    InsertStock(store_.db(), "SS", "600001", "x", 1);
    InsertBars(store_.db(), "SS", "600001", 1000, 60);
    dc_.LoadStockList();
    ASSERT_TRUE(dc_.LoadStock("600001", "SS"));
    dc_.Parameters().tradeLog = {{1010, 'B', 10.257f, 0.0f, 1.0f}, {1020, 'S', 10.25f, -0.00068f, 0.99932f}};
    ASSERT_TRUE(SaveStrategy(store_.db(), dc_, "", show_));
    EXPECT_EQ(Cell("SELECT group_concat(PRICE, ' ') FROM "
                   "(SELECT PRICE FROM TRADELOG WHERE CODE = '600001' ORDER BY DDATE)"),
              "10.26 10.25");
    EXPECT_EQ(Cell("SELECT PROFIT FROM TRADELOG WHERE CODE = '600001' AND BS = 1"), "-0.07");  // in percent
}

TEST_F(RecordTest, FailedGeneWriteShowsTheMessageAndLeavesTheResultUnsaved) {
    Load(1);
    SetResult(10.0f);
    ASSERT_TRUE(store_.db().Exec(
        "CREATE TRIGGER refuse BEFORE UPDATE OF GENE ON SECRET BEGIN SELECT RAISE(ABORT, 'no'); END"));
    EXPECT_FALSE(SaveStrategy(store_.db(), dc_, "r", show_));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "数据库写入异常，破译报告无法保存！\n本地数据库无法写入（no）：" + store_.db().Path());
    EXPECT_EQ(dc_.Parameters().resultSaved, 0);
    EXPECT_EQ(Cell("SELECT COUNT(*) FROM TRADELOG"), "0");  // the whole save rolled back
}

TEST_F(RecordTest, LoadingOutcomes) {
    Load(1);
    // No row: false, silently.
    EXPECT_FALSE(LoadStoredStrategy(store_.db(), dc_, show_));
    EXPECT_TRUE(messages_.empty());

    // 137 bytes for 3 x 23 symbols: 68 symbols, damaged (a watch-list row,
    // an empty strategy: signal_update_test.cpp).
    const std::vector<unsigned char> bytes(137, 1);
    ASSERT_TRUE(store_.db().Exec("INSERT INTO SECRET(MARKET, CODE, VRSN, NUMS, LENG, GENE) "
                                 "VALUES('SS', '600000', 1106, 3, 23, ?)",
                                 {BlobRef{bytes.data(), 137}}));
    dc_.Parameters().bestChromosome = {1, 2, 3};
    EXPECT_FALSE(LoadStoredStrategy(store_.db(), dc_, show_));
    EXPECT_EQ(messages_, std::vector<std::string>{"数据库读取异常，策略报告无法提取！"});
    EXPECT_TRUE(dc_.Parameters().bestChromosome.empty());

    // Another version's row is never read.
    ASSERT_TRUE(store_.db().Exec("UPDATE SECRET SET VRSN = 1105"));
    EXPECT_FALSE(LoadStoredStrategy(store_.db(), dc_, show_));
    EXPECT_EQ(messages_.size(), 1u);

    // A saved strategy comes back, and the run state is cleared.
    SetResult(10.0f);
    ASSERT_TRUE(SaveStrategy(store_.db(), dc_, "r", show_));
    RunParameters& p = dc_.Parameters();
    const std::vector<int16_t> symbols = p.bestChromosome;
    const std::string report = p.reportText;
    p.bestChromosome.clear();
    p.winRateHistory = {0.5f};
    ASSERT_TRUE(LoadStoredStrategy(store_.db(), dc_, show_));
    EXPECT_EQ(p.bestChromosome, symbols);
    EXPECT_EQ(p.reportText, report);
    EXPECT_TRUE(p.winRateHistory.empty());
}

TEST(StrategyTexts, HeaderOnlyForTheProductVersionAndCodeSpellsTheGenes) {
    RunParameters p;
    p.engineVersion = {1, 1, 0};
    EXPECT_EQ(BuildStrategyHeader(p, "SS", "600000"), "");
    p.bestChromosome = {3, 1, 0, -1, -2, 21};
    p.geneCount = 2;
    EXPECT_EQ(BuildStrategyCode(p), Gbk("\r\n操盘密码\r\n◎caA◎\r\n◎BCu◎"));
    p.geneCount = 0;
    EXPECT_EQ(BuildStrategyCode(p), "");
}

}  // namespace
