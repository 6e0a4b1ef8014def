// Chart mode inside the view: the 技术指标 menu and 代码精灵 choose
// indicators, the toolbar zooms, opening another stock keeps the zoom, the
// chart's keys reach the view, and the advice panel shows in chart mode only.
#include <QLabel>

#include "app_fixture.h"

using namespace app_test;

namespace {

class ChartView : public ::testing::Test {
protected:
    ChartView() {
        for (const char* code : {"600001", "600002"}) {
            testing_support::InsertStock(store.db(), "SS", code, "X", "X", 1);
            store.db().Exec("BEGIN");
            for (int i = 0; i < 300; ++i)
                testing_support::InsertBar(store.db(), "SS", code, 20200101 + i, 10, 11, 9, 10 + i % 3, 100);
            store.db().Exec("COMMIT");
            store.Watch("SS", code);
        }
        open = std::make_unique<OpenView>(store);
        view = &open->view;
    }

    AppStore store;
    std::unique_ptr<OpenView> open;
    CKorvelView* view = nullptr;
    FrameActions& actions() { return open->actions; }
};

TEST_F(ChartView, MenuChoosesIndicatorsAndShowsTheChart) {
    ChartWidget& chart = *view->Chart();
    actions().mainMa->trigger();
    EXPECT_EQ(view->GetMode(), CKorvelView::kChartMode);
    actions().mainBoll->trigger();
    EXPECT_TRUE(actions().mainBoll->isChecked());
    EXPECT_FALSE(actions().mainMa->isChecked());
    actions().mainBoll->trigger();
    EXPECT_FALSE(chart.IsIndicatorEnabled("BOLL"));
    view->SelectIndicator("KDJ");  // as 代码精灵 does
    EXPECT_TRUE(actions().subKdj->isChecked());
    EXPECT_FALSE(actions().subVol->isChecked());
    for (int i = 0; i < 2; ++i) {
        actions().tradeSignals->trigger();
        EXPECT_TRUE(chart.IsIndicatorEnabled("BS")) << "操盘信号 never switches the marks off";
    }
}

TEST_F(ChartView, OpeningAnotherStockKeepsTheZoomAndShowsTheNewestBars) {
    ASSERT_TRUE(view->OpenStock("600001", "SS"));
    actions().zoomIn->trigger();  // from the list: shows the chart
    EXPECT_EQ(view->GetMode(), CKorvelView::kChartMode);
    actions().shiftLeft->trigger();
    ChartWidget& chart = *view->Chart();
    EXPECT_EQ(chart.RequestedBarCount(), 89);
    EXPECT_EQ(chart.FirstVisibleBar(), 300 - 89 - 44);
    QTest::keyClick(&chart, Qt::Key_PageDown);  // next stock
    EXPECT_EQ(store.dc.Code(), "600002");
    EXPECT_EQ(chart.RequestedBarCount(), 89);
    EXPECT_EQ(chart.FirstVisibleBar(), 300 - 89);
    ASSERT_TRUE(WaitUntil([this] { return !view->IsBusy(); }));
    EXPECT_EQ(chart.FirstVisibleBar(), 300 - 89) << "still at the newest bars after the update";
}

TEST_F(ChartView, AdvicePanelShowsInChartModeOnly) {
    ASSERT_TRUE(view->OpenStock("600002", "SS"));
    view->SetMode(CKorvelView::kChartMode);
    ASSERT_TRUE(WaitUntil([this] { return !view->IsBusy(); }));
    EXPECT_TRUE(view->AdvicePanel()->isVisible());
    EXPECT_EQ(view->AdvicePanel()->CodeLabel().text(), QStringLiteral("600002"));
    EXPECT_EQ(view->AdvicePanel()->PriceLabel().text(), QStringLiteral("12.00"));  // bar 299: 10 + 299 % 3
    QTest::keyClick(view->Chart(), Qt::Key_Return);
    EXPECT_EQ(view->GetMode(), CKorvelView::kListMode);
    EXPECT_FALSE(view->AdvicePanel()->isVisible());
}

}  // namespace
