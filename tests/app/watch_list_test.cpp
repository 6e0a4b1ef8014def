// The watch list: what the list shows and in which colours, and what the
// view does with its rows (delete, previous/next, keys, opening a stock).
#include <QAction>
#include <QLineEdit>
#include <QTableView>

#include "app/code_helper_dlg.h"
#include "app/frame_actions.h"
#include "app/gbk_text.h"
#include "app/korvel_view.h"
#include "app_fixture.h"
#include "../support/test_store.h"

using namespace app_test;
using testing_support::Count;
using testing_support::InsertBar;
using testing_support::InsertStock;

namespace {

const QColor kRed(255, 0, 0), kGreen(0, 255, 0), kDarkRed(96, 0, 0), kDarkGreen(0, 96, 0), kGrey(192, 192, 192);
const QColor& kDefault = kDefaultText;

// Rising, falling (three decimals), unchanged and one-day stocks, each with
// another advice word, and a strategy whose stock is not in the stock list.
void AddStocks(AppStore& s) {
    Database& db = s.db();
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
    s.Watch("SS", "600001", ToGbk(QStringLiteral("买入")));
    s.Watch("SZ", "150002", ToGbk(QStringLiteral("卖出")));
    s.Watch("SS", "600003", ToGbk(QStringLiteral("持有")));
    s.Watch("SZ", "000004", ToGbk(QStringLiteral("观望")));
    s.Watch("SS", "699999");  // not in the stock list
}

QColor Colour(const WatchListModel& m, int row, int column) {
    return m.data(m.index(row, column), Qt::ForegroundRole).value<QColor>();
}

}  // namespace

TEST(WatchList, RowsInTypeAndCodeOrderWithFormatsAndColours) {
    AppStore s;
    AddStocks(s);
    WatchListModel model;
    model.Fill(s.db());
    ASSERT_EQ(model.rowCount(), 4);
    const struct {
        const char* code;
        QStringList cells;  // 涨幅%, 收盘, 操盘信号, 昨收, 开盘, 最高, 最低, 成交量(万), 振幅%
        QList<QColor> colours;
    } expected[] = {
        {"000004",  // one day: against its own open
         {"5.00", "10.50", "观望", "0.00", "10.00", "11.00", "9.80", "0.01", "12.00"},
         {kRed, kRed, kDarkGreen, kGrey, kRed, kRed, kRed, kGrey, kGrey}},
        {"600001",
         {"10.00", "11.00", "买入", "10.00", "10.50", "11.50", "9.50", "123.46", "20.00"},
         {kRed, kRed, kRed, kGrey, kRed, kRed, kGreen, kGrey, kGrey}},
        {"600003",
         {"0.00", "5.00", "持有", "5.00", "5.00", "5.10", "4.90", "0.01", "4.00"},
         {kDefault, kDefault, kDarkRed, kGrey, kDefault, kRed, kGreen, kGrey, kGrey}},
        {"150002",  // type 12: three decimals
         {"-5.00", "1.900", "卖出", "2.000", "2.000", "2.050", "1.850", "6.00", "10.00"},
         {kGreen, kGreen, kGreen, kGrey, kDefault, kRed, kGreen, kGrey, kGrey}},
    };
    for (int row = 0; row < 4; ++row) {
        const auto& e = expected[row];
        SCOPED_TRACE(e.code);
        EXPECT_EQ(model.Cells(row)[kNumberColumn], QString::number(row + 1));
        EXPECT_EQ(model.Cells(row)[kCodeColumn], QLatin1String(e.code));
        for (int c = kChangeColumn; c <= kAmplitudeColumn; ++c) {
            EXPECT_EQ(model.Cells(row)[c], e.cells[c - kChangeColumn]) << "column " << c;
            EXPECT_EQ(Colour(model, row, c), e.colours[c - kChangeColumn]) << "column " << c;
        }
        for (const int c : {kNumberColumn, kCodeColumn, kNameColumn, kMarketColumn})
            EXPECT_EQ(Colour(model, row, c), kGrey);
    }
}

class WatchView : public ::testing::Test {
protected:
    WatchView() {
        AddStocks(store);
        testing_support::InsertDividend(store.db(), "SS", "600001", 20220110, 0, 0, 1, 0, 0);
        store.db().Exec("INSERT INTO TRADELOG VALUES('SS', '600001', 1105, 20220113, 1, 10, 0)");
        store.db().Exec("INSERT INTO SECRET(MARKET, CODE, VRSN) VALUES('SS', '600001', 1105)");
        view = std::make_unique<CKorvelView>(store.session, actions);
        view->resize(1000, 500);
        view->show();
        EXPECT_TRUE(WaitUntil([this] { return !view->IsBusy(); }));  // 000001 SS opened at set-up
    }
    int64_t Rows(const std::string& table, const std::string& code) {
        return Count(store.db(), "SELECT COUNT(*) FROM " + table + " WHERE CODE = '" + code + "'");
    }

    AppStore store;
    QWidget owner;
    FrameActions actions{&owner};
    std::unique_ptr<CKorvelView> view;
};

TEST_F(WatchView, DeletingTwoRowsRemovesBarsStrategiesAndTradeLogsButKeepsDividends) {
    QTableView& list = *view->List();
    list.selectRow(1);  // 600001
    list.selectionModel()->select(view->Model().index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    AnswerNextMessageBox(QMessageBox::Ok);
    view->DeleteSelectedStocks();
    EXPECT_EQ(view->Model().rowCount(), 2);
    for (const std::string code : {"600001", "150002"}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(Rows("DAILY", code), 0);
        EXPECT_EQ(Rows("SECRET", code), 0);  // every version
        EXPECT_EQ(Rows("TRADELOG", code), 0);
    }
    EXPECT_EQ(Rows("DIVIDEND", "600001"), 1);
    EXPECT_EQ(Rows("DAILY", "600003"), 2);
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
    EXPECT_FALSE(actions.adjustPrices->isEnabled());
    view->ToggleAdjusted();  // ignored while busy
    EXPECT_FALSE(store.dc.IsAdjusted());
    // Its bars are up to the (unknown) server date: nothing to fetch, success.
    ASSERT_TRUE(WaitUntil([this] { return !view->IsBusy(); }));
    EXPECT_TRUE(store.dc.IsAdjusted());
    EXPECT_TRUE(actions.adjustPrices->isChecked());
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
    ASSERT_TRUE(actions.addToWatchList->isEnabled());
    actions.addToWatchList->trigger();
    EXPECT_EQ(Count(store.db(), "SELECT COUNT(*) FROM SECRET WHERE CODE = '000001' AND VRSN = 1106"), 1);
}
