// The main window's dialog commands: when they are offered, and the report
// of a watched stock from the list.
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableView>

#include "app/dialogs/report_dlg.h"
#include "app_fixture.h"
#include "text/gbk.h"

namespace {

using namespace app_test;

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

}  // namespace
