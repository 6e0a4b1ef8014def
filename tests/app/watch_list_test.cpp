// The watch list: what the list shows and in which colours, and what the
// view does with its rows (delete, previous/next, keys, opening a stock).
// The rows, their order and cell texts are the core's (tests/strategy).
#include <QLineEdit>
#include <QTableView>

#include "app/code_helper_dlg.h"
#include "app/gbk_text.h"
#include "app_fixture.h"

using namespace app_test;
using testing_support::InsertBar;
using testing_support::InsertStock;

namespace {

const QColor kRed(255, 0, 0), kGreen(0, 255, 0), kDarkRed(96, 0, 0), kDarkGreen(0, 96, 0), kGrey(192, 192, 192);

QColor Colour(const WatchListModel& m, int row, int column) {
    return m.data(m.index(row, column), Qt::ForegroundRole).value<QColor>();
}

// The view on rising, falling (three decimals), unchanged and one-day
// stocks, each with another advice word.
class WatchView : public ::testing::Test {
protected:
    WatchView() {
        Database& db = store.db();
        const std::string gbk = ToGbk(QStringLiteral("股"));
        InsertStock(db, "SS", "600003", gbk + "C", "GC", 1);
        InsertStock(db, "SZ", "150002", gbk + "B", "GB", 12);
        InsertStock(db, "SS", "600001", gbk + "A", "GA", 1);
        InsertStock(db, "SZ", "000004", gbk + "D", "GD", 1);
        InsertBar(db, "SS", "600001", 20220113, 9.8, 10.2, 9.7, 10.0, 10000);
        InsertBar(db, "SS", "600001", 20220114, 10.5, 11.5, 9.5, 11.0, 1234567);
        InsertBar(db, "SZ", "150002", 20220113, 2.0, 2.1, 1.95, 2.0, 50000);
        InsertBar(db, "SZ", "150002", 20220114, 2.0, 2.05, 1.85, 1.9, 60000);
        InsertBar(db, "SS", "600003", 20220113, 5.0, 5.0, 5.0, 5.0, 100);
        InsertBar(db, "SS", "600003", 20220114, 5.0, 5.1, 4.9, 5.0, 100);
        InsertBar(db, "SZ", "000004", 20220114, 10.0, 11.0, 9.8, 10.5, 100);
        store.Watch("SS", "600001", ToGbk(QStringLiteral("买入")));
        store.Watch("SZ", "150002", ToGbk(QStringLiteral("卖出")));
        store.Watch("SS", "600003", ToGbk(QStringLiteral("持有")));
        store.Watch("SZ", "000004", ToGbk(QStringLiteral("观望")));
        open = std::make_unique<OpenView>(store);
        view = &open->view;
    }

    AppStore store;
    std::unique_ptr<OpenView> open;
    CKorvelView* view = nullptr;
};

}  // namespace

TEST_F(WatchView, ColoursAgainstThePreviousCloseAndByAdvice) {
    const WatchListModel& model = view->Model();
    ASSERT_EQ(model.rowCount(), 4);
    const struct {
        const char* code;
        const char* advice;
        QList<QColor> colours;  // 涨幅%, 收盘, 操盘信号, 昨收, 开盘, 最高, 最低, 成交量(万), 振幅%
    } expected[] = {
        {"000004", "观望", {kRed, kRed, kDarkGreen, kGrey, kRed, kRed, kRed, kGrey, kGrey}},  // one day: its open
        {"600001", "买入", {kRed, kRed, kRed, kGrey, kRed, kRed, kGreen, kGrey, kGrey}},
        {"600003", "持有", {kDefaultText, kDefaultText, kDarkRed, kGrey, kDefaultText, kRed, kGreen, kGrey, kGrey}},
        {"150002", "卖出", {kGreen, kGreen, kGreen, kGrey, kDefaultText, kRed, kGreen, kGrey, kGrey}},
    };
    for (int row = 0; row < 4; ++row) {
        const auto& e = expected[row];
        SCOPED_TRACE(e.code);
        EXPECT_EQ(model.Cells(row)[kCodeColumn], QLatin1String(e.code));
        EXPECT_EQ(model.Cells(row)[kAdviceColumn], QString::fromUtf8(e.advice));
        for (int c = kChangeColumn; c <= kAmplitudeColumn; ++c)
            EXPECT_EQ(Colour(model, row, c), e.colours[c - kChangeColumn]) << "column " << c;
        for (const int c : {kNumberColumn, kCodeColumn, kNameColumn, kMarketColumn})
            EXPECT_EQ(Colour(model, row, c), kGrey);
    }
}

// Both selected rows go, after the confirmation; what goes with a stock is
// the core's.
TEST_F(WatchView, DeletingTwoSelectedRows) {
    QTableView& list = *view->List();
    list.selectRow(1);  // 600001
    list.selectionModel()->select(view->Model().index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    AnswerNextMessageBox(QMessageBox::Ok);
    view->DeleteSelectedStocks();
    EXPECT_EQ(view->Model().rowCount(), 2);
    for (const char* code : {"600001", "150002"})
        EXPECT_EQ(Count(store.db(), "SELECT COUNT(*) FROM DAILY WHERE CODE = '" + std::string(code) + "'"), 0);
}

TEST_F(WatchView, PreviousAndNextWrapAroundInListAndChart) {
    QTableView& list = *view->List();
    list.selectRow(0);
    view->PreviousStock();
    EXPECT_EQ(list.selectionModel()->selectedRows().front().row(), 3);
    view->NextStock();
    EXPECT_EQ(list.selectionModel()->selectedRows().front().row(), 0);
    // In chart mode the neighbouring stock opens: from the first to the last.
    view->OpenSelectedStock();
    ASSERT_EQ(view->GetMode(), CKorvelView::kChartMode);
    EXPECT_EQ(store.dc.Code(), "000004");
    view->PreviousStock();
    EXPECT_EQ(store.dc.Code(), "150002");
}

TEST_F(WatchView, OpeningAStockIsBusyUntilItsSynchronisationEndsThenShowsAdjustedPrices) {
    ASSERT_TRUE(view->OpenStock("600001", "SS"));
    view->SetMode(CKorvelView::kChartMode);
    EXPECT_TRUE(view->IsBusy());
    EXPECT_FALSE(open->actions.adjustPrices->isEnabled());
    view->ToggleAdjusted();  // ignored while busy
    EXPECT_FALSE(store.dc.IsAdjusted());
    // Its bars are up to the (unknown) server date: nothing to fetch, success.
    ASSERT_TRUE(WaitUntil([this] { return !view->IsBusy(); }));
    EXPECT_TRUE(store.dc.IsAdjusted());
    EXPECT_TRUE(open->actions.adjustPrices->isChecked());
    view->ToggleAdjusted();
    EXPECT_FALSE(store.dc.IsAdjusted());
}

TEST_F(WatchView, TypingInTheListOpensTheCodeSearchAndAddingWatchesTheCurrentStock) {
    QTest::keyClick(view->List(), Qt::Key_6);
    ASSERT_TRUE(view->CodeSearch()->isVisible());
    EXPECT_EQ(view->CodeSearch()->Edit()->text(), QStringLiteral("6"));
    view->CodeSearch()->hide();

    ASSERT_TRUE(view->OpenStock("000001", "SS"));
    view->SetMode(CKorvelView::kChartMode);
    ASSERT_TRUE(open->actions.addToWatchList->isEnabled());
    open->actions.addToWatchList->trigger();
    EXPECT_EQ(Count(store.db(), "SELECT COUNT(*) FROM SECRET WHERE CODE = '000001' AND VRSN = 1106"), 1);
}
