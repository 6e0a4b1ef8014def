#include "chart/paint/main_pane.h"

#include <cmath>
#include <cstdlib>

#include "chart/paint/draw_helpers.h"

namespace {

// The value colour against the previous close.
QRgb Against(float value, float previousClose) {
    if (value > previousClose) return chart_colour::kValueUp;
    if (value < previousClose) return chart_colour::kValueDown;
    return chart_colour::kValueEqual;
}

void DrawPriceGrid(const PaintContext& c) {
    const CScreenSet& s = c.screen;
    const VerticalScale& scale = c.price;
    const int intervals = s.gridIntervals;
    const float step = (scale.max - scale.min) / static_cast<float>(intervals);
    // Flat: the rows stay evenly spread, every label shows the one price.
    const float rowStep = scale.flat ? static_cast<float>(s.mainPlot.height()) / static_cast<float>(intervals)
                                     : step * scale.k;
    c.painter.setFont(s.font);
    for (int j = 0; j <= intervals; ++j) {
        const int y = Px(static_cast<float>(s.mainPlot.y()) + static_cast<float>(j) * rowStep);
        c.painter.setPen(s.gridPen);
        c.painter.drawLine(s.mainArea.x(), y, RightOf(s.mainArea), y);
        DrawBoxText(c.painter, QRect(s.mainArea.x() - CScreenSet::kPriceAxisWidth, y - 6, CScreenSet::kPriceAxisWidth, 12),
                    Qt::AlignRight, FormatText("%.2f", scale.max - static_cast<float>(j) * step),
                    chart_colour::kAxisLabel);
    }
}

void DrawCandle(const PaintContext& c, int slot, float open, float high, float low, float close, bool rising) {
    const CScreenSet& s = c.screen;
    const float leftF = static_cast<float>(s.mainPlot.x()) + static_cast<float>(slot) * s.pitch + s.gap;
    const int left = static_cast<int>(leftF);
    const int centre = static_cast<int>(leftF + s.pitch / 2 - s.gap);
    const int width = Px(s.pitch - 2 * s.gap);
    const float topF = c.price.Y(std::max(open, close));
    const int top = Px(topF);
    const int bottom = c.price.flat ? top : Px(topF + std::fabs(open - close) * c.price.k);
    const QPen& pen = close > open || (close == open && rising) ? s.risingPen : s.fallingPen;
    c.painter.setPen(pen);
    c.painter.drawLine(centre, Px(c.price.Y(high)), centre, Px(c.price.Y(low)));
    if (close > open) {
        c.painter.fillRect(left, top, width, bottom - top, QColor::fromRgba(chart_colour::kRisingFill));
        c.painter.drawRect(left, top, width, bottom - top);
    } else if (close < open) {
        c.painter.fillRect(left, top, width + 1, bottom - top + 1, QColor::fromRgba(chart_colour::kFalling));
    } else {
        c.painter.drawLine(left, top, left + width, top);
    }
}

void DrawCandles(const PaintContext& c) {
    const CScreenSet& s = c.screen;
    const PriceSeries& bars = c.dc.Displayed();
    for (int k = 0; k < s.shownCount; ++k) {
        const int i = s.firstVisible + k;
        // A bar equal to its open is coloured by the previous close; the
        // first bar of the series counts as rising.
        const bool rising = i == 0 || bars.close[i] > bars.close[i - 1];
        DrawCandle(c, k, bars.open[i], bars.high[i], bars.low[i], bars.close[i], rising);
    }
}

void DrawDateLabels(const PaintContext& c) {
    const CScreenSet& s = c.screen;
    const std::vector<int32_t>& dates = c.dc.Dates();
    const QRect& strip = s.dateStrip;
    int year = dates[s.firstVisible] / 10000;
    int month = dates[s.firstVisible] / 100 % 100;
    c.painter.setFont(s.font);
    for (int k = 1; k < s.shownCount; ++k) {
        const int date = dates[s.firstVisible + k];
        const int centre = static_cast<int>(static_cast<float>(s.mainPlot.x()) + static_cast<float>(k) * s.pitch +
                                            s.pitch / 2);
        if (date / 10000 != year && static_cast<float>(k) * s.pitch > 30 && s.pitch > 1) {
            DrawBoxText(c.painter, QRect(centre - CScreenSet::kYearLabelWidth, strip.y(), CScreenSet::kYearLabelWidth,
                                         CScreenSet::kTextHeight),
                        Qt::AlignRight, FormatText("%d", date / 10000), chart_colour::kTitle);
        }
        if (date / 100 % 100 != month) {
            c.painter.setPen(s.framePen);
            c.painter.drawLine(centre, strip.y(), centre, strip.y() + CScreenSet::kTextHeight);
            if (centre + 1 + CScreenSet::kMonthLabelWidth < RightOf(strip))
                DrawBoxText(c.painter,
                            QRect(centre + 1, strip.y(), CScreenSet::kMonthLabelWidth, CScreenSet::kTextHeight),
                            Qt::AlignLeft, FormatText("%d", date / 100 % 100), chart_colour::kTitle);
        }
        year = date / 10000;
        month = date / 100 % 100;
    }
}

void DrawInformationRow(const PaintContext& c) {
    const CScreenSet& s = c.screen;
    const int y = s.mainArea.y() + (CScreenSet::kMainInnerMargin - CScreenSet::kTextHeight) / 2;
    int x = s.mainArea.x();
    for (const InfoBox& box : InformationRow(c.dc, s.cursorBar)) {
        if (x + box.width > RightOf(s.mainArea)) break;
        c.painter.setFont(box.kind == InfoBox::kLabel ? s.labelFont : s.font);
        const int lower = box.kind == InfoBox::kValue ? 0 : 1;
        DrawBoxText(c.painter, QRect(x, y + lower, box.width, CScreenSet::kTextHeight), Qt::AlignHCenter,
                    box.text, box.colour);
        x += box.width;
    }
}

}  // namespace

std::vector<InfoBox> InformationRow(const CDataCenter& dc, int cursor) {
    const PriceSeries& bars = dc.Displayed();
    const int date = dc.Dates()[cursor];
    const float p = bars.close[cursor > 0 ? cursor - 1 : cursor];
    const int type = dc.SecurityType();
    const char* priceFormat = type >= 11 && type <= 14 ? "%.3f" : "%.2f";
    const auto label = [](const char* utf8) { return InfoBox{30, QString::fromUtf8(utf8), chart_colour::kTitle, InfoBox::kLabel}; };
    const auto price = [&](float v) { return InfoBox{50, FormatText(priceFormat, v), Against(v, p), InfoBox::kValue}; };
    const float close = bars.close[cursor];
    return {
        {80, FormatText("%.4d-%.2d-%.2d", date / 10000, date / 100 % 100, date % 100), chart_colour::kTitle,
         InfoBox::kDate},
        label("开盘:"), price(bars.open[cursor]),
        label("最高:"), price(bars.high[cursor]),
        label("最低:"), price(bars.low[cursor]),
        label("收盘:"), price(close),
        label("涨幅:"), {50, FormatText("%+.2f%%", (close - p) / p * 100), Against(close, p), InfoBox::kValue},
        label("振幅:"), {50, FormatText("%+.2f%%", (bars.high[cursor] - bars.low[cursor]) / p * 100),
                         chart_colour::kValueEqual, InfoBox::kValue},
    };
}

void CMainPane::Paint(const PaintContext& c) {
    const CScreenSet& s = c.screen;
    c.painter.setPen(s.framePen);
    c.painter.setBrush(Qt::NoBrush);
    c.painter.drawRect(s.mainArea);
    if (c.bars == 0) return;
    DrawPriceGrid(c);
    c.painter.setPen(s.framePen);
    c.painter.setBrush(Qt::NoBrush);
    c.painter.drawRect(s.dateStrip);
    DrawCandles(c);
    DrawDateLabels(c);
    DrawInformationRow(c);
}
