// Chart mode: keys, mouse and wheel on ChartWidget, the advice panel, and
// the window drawing the very pixels korvel-cli chart writes; inside the
// view, the 技术指标 menu and 代码精灵 choosing indicators, the toolbar
// zooming, opening another stock keeping the zoom, the chart's keys reaching
// the view, and the advice panel in chart mode only.
#include <QImage>
#include <QLabel>
#include <QSignalSpy>

#include "../support/run_process.h"
#include "app/advice_panel.h"
#include "app/chart_widget.h"
#include "app_fixture.h"
#include "strategy/strategy_record.h"
#include "strategy/strategy_signals.h"
#include "text/gbk.h"

namespace {

using namespace app_test;
using testing_support::Store;

class ChartWidgetTest : public ::testing::Test {
protected:
    // One store of SS 600000's bundled history for every test (importing
    // it is the slow part); each test starts without a stored strategy.
    static void SetUpTestSuite() {
        shared_ = std::make_unique<Store>();
        testing_support::ImportPufa(shared_->db());
    }
    static void TearDownTestSuite() { shared_.reset(); }

    void SetUp() override {
        ASSERT_TRUE(store_.db().Exec("DELETE FROM SECRET"));
        dc_.LoadStockList();
        ASSERT_TRUE(dc_.LoadStock("600000", "SS"));
        widget_.resize(1000, 640);
        widget_.ShowNewest();
        widget_.SelectIndicator("VOL");  // as the view sets a new chart up
        widget_.SelectIndicator("BS");
    }

    // The stored strategy "close above its 5-day average" (condition 1 in
    // each of the three genes), evaluated for the current stock as the
    // view's update does.
    void StoreStrategyAndSignals() {
        std::vector<unsigned char> genes;
        for (int i = 0; i < 3 * 23; ++i) genes.insert(genes.end(), {1, 0});
        ASSERT_TRUE(store_.db().Exec("INSERT INTO SECRET(MARKET, CODE, VRSN, NUMS, LENG, GENE, UDAY, INDI) "
                                     "VALUES('SS', '600000', ?, 3, 23, ?, 1, ?)",
                                     {version::kNumber, BlobRef{genes.data(), genes.size()},
                                      text::Utf8ToGbk("卖出")}));
        ASSERT_TRUE(LoadStoredStrategy(store_.db(), dc_, [](std::string_view m) { ADD_FAILURE() << m; }));
        ASSERT_TRUE(ComputeStrategySignals(dc_));
    }

    int Bars() const { return static_cast<int>(dc_.Dates().size()); }
    const CScreenSet& Screen() { return widget_.Chart().Screen(); }

    static inline std::unique_ptr<Store> shared_;
    Store& store_ = *shared_;
    CDataCenter dc_{store_.db()};
    ChartWidget widget_{dc_};
};

// The arrow keys zoom and scroll; PageUp, the wheel and a double click ask
// the view for the previous stock and the list (PageDown and Enter reach
// the view in the ChartView tests).
TEST_F(ChartWidgetTest, KeysWheelAndDoubleClick) {
    const int n = Bars();
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int count, first;  // after the key
    } steps[] = {
        {Qt::Key_Up, Qt::NoModifier, 89, n - 89},  // zoom in, right edge kept
        {Qt::Key_Left, Qt::NoModifier, 89, n - 90},
        {Qt::Key_Left, Qt::ControlModifier, 89, n - 100},
        {Qt::Key_Right, Qt::NoModifier, 89, n - 99},
        {Qt::Key_Down, Qt::NoModifier, 97, n - 107},  // zoom out, the new bars on the left
    };
    for (const Step& step : steps) {
        QTest::keyClick(&widget_, step.key, step.modifiers);
        EXPECT_EQ(Screen().requestedCount, step.count) << step.key;
        EXPECT_EQ(Screen().firstVisible, step.first) << step.key;
    }

    QSignalSpy previous(&widget_, &ChartWidget::previousStockRequested);
    QSignalSpy list(&widget_, &ChartWidget::listRequested);
    QTest::keyClick(&widget_, Qt::Key_PageUp);
    QWheelEvent forward(QPointF(500, 300), QPointF(500, 300), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                        Qt::NoScrollPhase, false);
    QApplication::sendEvent(&widget_, &forward);
    QTest::mouseDClick(&widget_, Qt::LeftButton, Qt::NoModifier, QPoint(500, 300));
    EXPECT_EQ(previous.count(), 2);
    EXPECT_EQ(list.count(), 1);
}

// The cross-hair follows the mouse (staying put outside the cross area:
// the chart's own tests), and the window shows what korvel-cli draws.
TEST_F(ChartWidgetTest, WindowAndCliDrawTheSamePixels) {
    StoreStrategyAndSignals();
    widget_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget_));
    QTest::keyClick(&widget_, Qt::Key_Up);
    QTest::keyClick(&widget_, Qt::Key_Left, Qt::NoModifier);
    widget_.SelectIndicator("BOLL");
    widget_.SelectIndicator("MACD");
    QTest::mouseMove(&widget_, widget_.Chart().CrossPointAt(Bars() - 20, widget_.size()));
    const QImage window = widget_.grab().toImage().convertToFormat(QImage::Format_ARGB32);

    const ChartState state = widget_.Chart().State();
    ASSERT_EQ(state.cursorBar, Bars() - 20);
    ASSERT_EQ(state.mainIndicator, "BOLL");
    ASSERT_EQ(state.subIndicator, "MACD");
    ASSERT_TRUE(state.marks);
    const std::string png = (store_.dir() / "chart.png").string();
    const testing_support::ProcessResult cli = testing_support::RunCli(
        store_.dir().path(), {"chart", "SS", "600000", "--png", png, "--size", "1000x640", "--main", "BOLL", "--sub",
                              "MACD", "--count", std::to_string(state.requestedCount), "--first",
                              std::to_string(state.firstVisible), "--cursor", std::to_string(state.cursorBar)});
    ASSERT_EQ(cli.exitCode, 0) << cli.err;
    const std::string shown = std::to_string(state.firstVisible) + "-" +
                              std::to_string(state.firstVisible + state.requestedCount - 1);
    EXPECT_TRUE(cli.out.ends_with(" SS 600000, bars " + shown + " of " + std::to_string(Bars()) + ", 1000x640\n"))
        << cli.out;
    const QImage drawn = QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(drawn.size(), window.size());
    EXPECT_TRUE(drawn == window);
    // The marks are there: some sell and buy letters in the plot.
    int green = 0;
    for (int y = 0; y < window.height(); ++y)
        for (int x = 0; x < window.width(); ++x) green += window.pixel(x, y) == 0xFF00FF00;
    EXPECT_GT(green, 40);

    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"chart", "SS", "600000"}, {"chart", "SS", "600000", "--png", png, "--sub", "MA"},
          {"chart", "SS", "600000", "--png", png, "--size", "99x800"}})
        EXPECT_EQ(testing_support::RunCli(store_.dir().path(), bad).exitCode, 2) << bad.back();
}

TEST_F(ChartWidgetTest, AdvicePanelTextsAndColours) {
    CIndicatorDlg panel;
    const auto colour = [](const QLabel& label) { return label.palette().color(QPalette::WindowText).name(); };
    RefreshAdvicePanel(panel, store_.db(), dc_, true);
    EXPECT_EQ(panel.NameLabel().text(), QString::fromUtf8("浦发银行"));
    EXPECT_EQ(panel.AdviceLabel().text(), QString()) << "no stored strategy";

    StoreStrategyAndSignals();
    RefreshAdvicePanel(panel, store_.db(), dc_, false);
    EXPECT_EQ(panel.AdviceLabel().text(), QString()) << "not asked for";
    RefreshAdvicePanel(panel, store_.db(), dc_, true);
    EXPECT_EQ(panel.AdviceLabel().text(), QString::fromUtf8("卖出"));
    EXPECT_EQ(colour(panel.AdviceLabel()), "#00ff00");

    struct Case {
        int type;
        double price, change;
        const char* advice;
        const char *priceText, *changeText, *changeColour, *adviceColour;
    } cases[] = {
        {1, 10.5, 1.234, "买入", "10.50", "+1.23%", "#ff0000", "#ff0000"},
        {12, 1.5, -0.5, "持有", "1.500", "-0.50%", "#00ff00", "#ffff00"},
        {1, 9, 0, "", "9.00", "0.00%", "#ffff00", "#ffff00"},
    };
    for (const Case& c : cases) {
        panel.Update({"600000", "", c.type, c.price, c.change, text::Utf8ToGbk(c.advice)});
        EXPECT_EQ(panel.PriceLabel().text().toStdString(), c.priceText);
        EXPECT_EQ(panel.ChangeLabel().text().toStdString(), c.changeText);
        EXPECT_EQ(colour(panel.ChangeLabel()), c.changeColour);
        EXPECT_EQ(colour(panel.PriceLabel()), c.changeColour);
        EXPECT_EQ(colour(panel.AdviceLabel()), c.adviceColour) << c.advice;
    }
}

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

// One main and one sub-chart indicator at a time, chosen from the menu or
// through the view as 代码精灵 does; 操盘信号 shows the marks from either state.
TEST_F(ChartView, MenuChoosesIndicatorsAndShowsTheChart) {
    ChartWidget& chart = *view->Chart();
    const auto on = [&chart] {
        std::string keys;
        for (const char* key : {"VOL", "KDJ", "MACD", "MA", "CCI", "RSI", "BOLL", "BS"})
            if (chart.IsIndicatorEnabled(key)) keys += std::string(keys.empty() ? "" : " ") + key;
        return keys;
    };
    actions().mainMa->trigger();
    EXPECT_EQ(view->GetMode(), CKorvelView::kChartMode);
    EXPECT_EQ(on(), "VOL MA BS");
    actions().mainBoll->trigger();
    EXPECT_TRUE(actions().mainBoll->isChecked());
    EXPECT_FALSE(actions().mainMa->isChecked());
    EXPECT_EQ(on(), "VOL BOLL BS");
    actions().mainBoll->trigger();
    EXPECT_EQ(on(), "VOL BS");
    for (const char* key : {"KDJ", "KDJ", "XYZ"}) view->SelectIndicator(key);
    EXPECT_EQ(on(), "KDJ BS") << "a sub-chart indicator chosen again stays; an unknown key changes nothing";
    EXPECT_TRUE(actions().subKdj->isChecked());
    EXPECT_FALSE(actions().subVol->isChecked());
    view->SelectIndicator("BS");
    EXPECT_EQ(on(), "KDJ");
    for (int i = 0; i < 2; ++i) {
        actions().tradeSignals->trigger();
        EXPECT_EQ(on(), "KDJ BS");
    }
}

// The zoom stays when the next stock opens, at its newest bars; the advice
// panel shows in chart mode only.
TEST_F(ChartView, OpeningAnotherStockKeepsTheZoomAndTheAdvicePanelShowsInChartModeOnly) {
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

    EXPECT_TRUE(view->AdvicePanel()->isVisible());
    EXPECT_EQ(view->AdvicePanel()->CodeLabel().text(), QStringLiteral("600002"));
    EXPECT_EQ(view->AdvicePanel()->PriceLabel().text(), QStringLiteral("12.00"));  // bar 299: 10 + 299 % 3
    QTest::keyClick(&chart, Qt::Key_Return);
    EXPECT_EQ(view->GetMode(), CKorvelView::kListMode);
    EXPECT_FALSE(view->AdvicePanel()->isVisible());
}

}  // namespace
