#pragma once
// CIndicatorPane: the chart's painters in painting order (VOL, KDJ, MACD,
// MA, CCI, RSI, BOLL, then the trade marks over everything) and which of
// them are switched on: at most one main-chart indicator, at most one
// sub-chart indicator, and the marks.
#include <memory>
#include <string_view>
#include <vector>

#include "chart/paint/indicator_painter.h"

class CIndicatorPane {
public:
    CIndicatorPane();

    // Chooses an indicator: every painter of its kind is switched off, then
    // a sub-chart indicator is switched on, while a main-chart indicator or
    // the marks ("BS") are toggled. A key no painter has changes nothing.
    void SelectIndicator(std::string_view key);
    void DisableIndicator(std::string_view key);
    // 1 while the painter with this key is switched on, else 0.
    int IsIndicatorEnabled(std::string_view key) const;

    // Paints every enabled painter in order; call with the data lock held.
    void PaintIndicators(const PaintContext& context);

    // The key of the enabled painter of a kind; empty when none is.
    std::string_view EnabledKey(int kind) const;

private:
    std::vector<std::unique_ptr<CIndicatorDataPainter>> painters_;
};
