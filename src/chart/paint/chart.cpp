#include "chart/paint/chart.h"

#include <QPainter>

#include <algorithm>
#include <mutex>

#include "chart/paint/chart_navigation.h"
#include "chart/paint/draw_helpers.h"

VerticalScale PriceScale(const CScreenSet& s, const CDataCenter& dc) {
    const PriceSeries& bars = dc.Displayed();
    const ValueRange range = VisibleRange(bars.high, bars.low, s.firstVisible, s.shownCount);
    return VerticalScale::Over(static_cast<float>(s.mainPlot.y()), static_cast<float>(s.mainPlot.height()), range.max,
                               range.min);
}

CChart::CChart(const CDataCenter& dc) : dc_(dc) {}

int CChart::Bars() const {
    std::lock_guard lock(dc_.DataLock());
    return static_cast<int>(dc_.Dates().size());
}

const QImage& CChart::Paint(QSize client) {
    if (client.isEmpty()) return image_ = QImage();
    if (image_.size() != client) image_ = QImage(client, QImage::Format_ARGB32);
    image_.fill(chart_colour::kBackground);
    screen_.Layout(client);
    QPainter painter(&image_);
    std::lock_guard lock(dc_.DataLock());
    const int bars = static_cast<int>(dc_.Dates().size());
    crossPane_.Update(screen_, bars);
    const PaintContext context{painter, screen_, dc_, bars > 0 ? PriceScale(screen_, dc_) : VerticalScale{}, bars};
    mainPane_.Paint(context);
    indicators_.PaintIndicators(context);
    crossPane_.Paint(context);
    return image_;
}

bool CChart::MoveCrossHair(QPoint position, QSize client) {
    if (position == lastMouse_) return false;
    screen_.Layout(client);
    if (!screen_.crossArea.contains(position)) return false;
    lastMouse_ = position;
    screen_.crossX = static_cast<float>(position.x());
    screen_.crossY = position.y();
    return true;
}

QPointF CChart::BarPoint(int bar, QSize client) {
    screen_.Layout(client);
    std::lock_guard lock(dc_.DataLock());
    const int bars = static_cast<int>(dc_.Dates().size());
    if (bars == 0) return screen_.mainPlot.topLeft();
    bar = std::clamp(bar, 0, bars - 1);
    CScreenSet probe = screen_;
    crossPane_.Update(probe, bars);
    const QRect& plot = probe.mainPlot;
    const float x = static_cast<float>(plot.x()) + (static_cast<float>(bar - probe.firstVisible) + 0.5f) * probe.pitch;
    const int y = Px(PriceScale(probe, dc_).Y(dc_.Displayed().close[bar]));
    return {std::clamp(x, static_cast<float>(plot.x()), static_cast<float>(RightOf(plot))),
            static_cast<qreal>(std::clamp(y, plot.y(), BottomOf(plot)))};
}

QPoint CChart::CrossPointAt(int bar, QSize client) {
    const QPointF point = BarPoint(bar, client);
    return {static_cast<int>(point.x()), static_cast<int>(point.y())};
}

void CChart::Apply(const ChartState& state, QSize client) {
    const int bars = Bars();
    screen_.requestedCount = std::max(1, state.requestedCount);
    if (state.firstVisible < 0) ShowNewest(screen_, bars);
    else screen_.firstVisible = std::max(0, std::min(state.firstVisible, bars - 1));
    for (const char* key : {"MA", "BOLL", "VOL", "KDJ", "MACD", "CCI", "RSI", "BS"}) indicators_.DisableIndicator(key);
    if (!state.mainIndicator.empty()) indicators_.SelectIndicator(state.mainIndicator);
    if (!state.subIndicator.empty()) indicators_.SelectIndicator(state.subIndicator);
    if (state.marks) indicators_.SelectIndicator("BS");
    const int cursor = state.cursorBar >= 0 ? state.cursorBar : screen_.firstVisible + ShownCount(screen_, bars) - 1;
    const QPointF point = BarPoint(cursor, client);
    screen_.crossX = static_cast<float>(point.x());
    screen_.crossY = static_cast<int>(point.y());
}

ChartState CChart::State() const {
    ChartState state;
    state.requestedCount = screen_.requestedCount;
    state.firstVisible = screen_.firstVisible;
    state.cursorBar = screen_.cursorBar;
    state.mainIndicator = indicators_.EnabledKey(CIndicatorDataPainter::kMainChart);
    state.subIndicator = indicators_.EnabledKey(CIndicatorDataPainter::kSubChart);
    state.marks = indicators_.IsIndicatorEnabled("BS") == 1;
    return state;
}
