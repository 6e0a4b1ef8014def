// The main window's dialog commands (when they are offered, the report of
// a watched stock) and the dialogs: settings, the report page's trade
// table, stock pools and the data cleanup.
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>

#include "../sync/sync_fixture.h"
#include "app/dialogs/check_list.h"
#include "app/dialogs/data_clean_dlg.h"
#include "app/dialogs/log_box.h"
#include "app/dialogs/pool_pick_dlg.h"
#include "app/dialogs/property_dlg.h"
#include "app/dialogs/report_dlg.h"
#include "app/dialogs/trade_table.h"
#include "app_fixture.h"

namespace {

using namespace app_test;

std::string AppSet(Database& db) { return Dump(db, "SELECT ITEM, SETS FROM APPSET ORDER BY ITEM"); }

TEST(DialogCommands, OfferedInTheirModesAndTheReportOfTheSelectedRow) {
    AppStore store;
    testing_support::InsertStock(store.db(), "SS", "600000", "X", "X", 1);
    store.Watch("SS", "600000");
    store.db().Exec("UPDATE SECRET SET CRPT = ? WHERE CODE = '600000'",
                    {text::Utf8ToGbk("报告\r\n\r\n\r\n工具\r\nABC")});
    OpenView open(store);
    const FrameActions& actions = open.actions;
    struct Case {
        int mode;
        int32_t cleanto;
        bool generate;
        bool cleanup;
    };
    const Case cases[] = {
        {CKorvelView::kChartMode, 20220101, true, false},
        {CKorvelView::kListMode, 20220101, false, true},
        {CKorvelView::kChartMode, 0, true, false},
        {CKorvelView::kListMode, 0, false, false},
    };
    for (const Case& c : cases) {
        store.session.server.cleanto = c.cleanto;
        open.view.SetMode(c.mode);
        EXPECT_EQ(actions.generateStrategy->isEnabled(), c.generate) << c.mode << " " << c.cleanto;
        EXPECT_EQ(actions.dataCleanup->isEnabled(), c.cleanup) << c.mode << " " << c.cleanto;
    }

    open.view.List()->selectRow(0);
    QString strategyTab;
    QTimer::singleShot(0, [&] {
        auto* report = qobject_cast<CReportDlg*>(QApplication::activeModalWidget());
        if (report == nullptr) return;
        strategyTab = static_cast<QPlainTextEdit*>(report->Tabs()->widget(2))->toPlainText();
        report->reject();
    });
    actions.strategyReport->trigger();
    EXPECT_EQ(strategyTab, "工具\nABC");

    // Breeding the watch list is offered while a stock is watched.
    EXPECT_TRUE(actions.breedWatchList->isEnabled());
    store.db().Exec("DELETE FROM SECRET");
    open.view.FillList();
    EXPECT_FALSE(actions.breedWatchList->isEnabled());
}

// A search of fewer than ten steps is refused and stores nothing; accepted,
// the seven values are stored (charges as fractions) and shown again.
TEST(PropertyDlg, RefusesAShallowSearchAndStoresTheSevenValues) {
    testing_support::Store store;
    SettingsMap settings;
    LoadSettings(store.db(), settings, {});
    RunParameters params;
    AnsweredMessages messages;
    const std::string before = AppSet(store.db());
    for (const int depth : {9, 10}) {
        CPropertyDlg dialog(store.db(), settings, params);
        dialog.findChild<QSpinBox*>("depth")->setValue(depth);
        dialog.findChild<QDoubleSpinBox*>("buyCharge")->setValue(0.2);
        dialog.findChild<QDoubleSpinBox*>("sellCharge")->setValue(0.3);
        dialog.accept();
        EXPECT_EQ(dialog.result() == QDialog::Accepted, depth == 10);
        EXPECT_EQ(messages.informed.size(), 1u) << "depth 9 refused, depth 10 not";
        if (depth == 9) {
            EXPECT_EQ(AppSet(store.db()), before);
        }
    }
    EXPECT_EQ(AppSet(store.db()),
              "BUY_CHARGE|0.002|EVOLUTE_DAYS|480|EVOLUTE_STEPS|10|HOST|127.0.0.1:18080|MAX_TRADE_LOST|1.0|"
              "MAX_TRADE_NUMS|250|MIN_TRADE_NUMS|1|SELL_CHARGE|0.003|");
    EXPECT_EQ(GetSetting(settings, "BUY_CHARGE"), "0.002");
    EXPECT_EQ(params.evoluteDays, 480);
    CPropertyDlg reopened(store.db(), settings, params);
    EXPECT_EQ(reopened.findChild<QDoubleSpinBox*>("buyCharge")->text(), "0.20");
    EXPECT_EQ(reopened.findChild<QDoubleSpinBox*>("sellCharge")->text(), "0.30");
}

// The core's rows (running sums) in the user's number format.
TEST(TradeTable, ShowsTheRowsInTheUsersNumberFormat) {
    const std::vector<TradeLogEntry> log = {{20240102, 'B', 1234.5f, 0.0f, 1.0f},
                                            {20240110, 'S', 1358.0f, 0.10f, 1.10f}};
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German));
    TradeTable table(TradeTable::Layout::kReportPage);
    table.Show(ReportTradeRows(log));
    QLocale::setDefault(saved);
    ASSERT_EQ(table.rowCount(), 2);
    const QStringList sell = {"2024-01-10", "卖", "1.358,00", "10,00", "10,00", "10,00"};
    for (int column = 0; column < 6; ++column) EXPECT_EQ(table.item(1, column)->text(), sell[column]);
    EXPECT_EQ(table.item(0, 3)->text(), "");  // a buy has no returns
}

// A pool of two stocks, of which SS 600000 is watched already.
TEST(PoolPickDlg, AddsTheTickedStocksThatAreNotWatchedYet) {
    const std::string reply = text::Utf8ToGbk(
        "<?xml version=\"1.0\" encoding=\"gb2312\"?><stockpool><caption>价值精选</caption><info>说明</info>"
        "<pool><rank>1</rank><date>20111201</date><code>600000</code><abbr>浦发银行</abbr><capital>2000</capital>"
        "<pe>6</pe><pb>1</pb><mpg>3.5</mpg><market>SS</market></pool>"
        "<pool><rank>2</rank><date>20111202</date><code>000002</code><abbr>万科Ａ</abbr><capital>1100</capital>"
        "<pe>8.55</pe><pb>0.94</pb><mpg>-12.257</mpg><market>SZ</market></pool></stockpool>");
    sync_test::TinyServer server(sync_test::TinyServer::Always(reply));
    testing_support::Store store;
    store.db().Exec("INSERT INTO SECRET(MARKET, CODE, VRSN) VALUES('SS', '600000', 1106)");
    CPoolPickDlg dialog(store.db(), server.access(), "vpool");
    auto* list = dialog.findChild<CheckList*>();
    auto* status = dialog.findChild<QLabel*>();
    ASSERT_TRUE(WaitUntil([&] { return list->rowCount() == 2; }));
    EXPECT_EQ(dialog.windowTitle(), "价值精选");
    EXPECT_EQ(list->Cell(1, 1), "万科Ａ");

    Click(dialog, "设为自选股");
    EXPECT_EQ(status->text(), "请先选择需要添加为自选股的股票");
    Click(dialog, "全选");
    Click(dialog, "设为自选股");
    ASSERT_TRUE(WaitUntil([&] { return status->text() == "共导入1支股票到自选股"; }));
    EXPECT_TRUE(dialog.AddedStocks());
    EXPECT_EQ(Count(store.db(), "SELECT COUNT(*) FROM SECRET"), 2);
}

TEST(DataCleanDlg, CleansTheTickedStocksOnlyAndRefusesToCloseMeanwhile) {
    testing_support::Store store;
    Database& db = store.db();
    testing_support::InsertStock(db, "SS", "600000", text::Utf8ToGbk("浦发银行"), "PFYH", 1);
    testing_support::InsertStock(db, "SZ", "000002", text::Utf8ToGbk("万科Ａ"), "WKA", 1);
    for (int date : {20240102, 20240103, 20240104}) {
        testing_support::InsertBar(db, "SS", "600000", date, 1, 1, 1, 1, 1);
        testing_support::InsertBar(db, "SZ", "000002", date, 1, 1, 1, 1, 1);
    }
    AnsweredMessages messages;
    CDataCleanDlg dialog(db, 20240102);
    auto* list = dialog.findChild<CheckList*>();
    auto* log = dialog.findChild<LogBox*>();
    ASSERT_EQ(list->rowCount(), 2);
    const QString note = log->Log();
    dialog.StartCleanup();  // nothing ticked
    EXPECT_FALSE(dialog.Busy());
    EXPECT_EQ(log->Log(), note);

    list->SetTicked(0, true);
    const QString cleaned = list->Cell(0, 0);
    dialog.StartCleanup();
    ASSERT_TRUE(dialog.Busy());
    dialog.reject();
    EXPECT_EQ(messages.informed, std::vector<QString>{"正在执行日线数据清理操作，请在数据清理操作结束后再关闭窗口。"});
    ASSERT_TRUE(WaitUntil([&] { return !dialog.Busy(); }));
    EXPECT_TRUE(log->Log().startsWith("数据清理结束.\r\n成功清理 " + cleaned));
    EXPECT_TRUE(log->Log().endsWith(note));
    EXPECT_EQ(Count(db, "SELECT COUNT(*) FROM DAILY"), 4);
    for (int row = 0; row < 2; ++row)
        EXPECT_EQ(list->Cell(row, 2), list->Cell(row, 0) == cleaned ? "20240102" : "20240104");
}

}  // namespace
