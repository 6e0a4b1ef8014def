#pragma once
// CIndicatorDataPainter: draws one indicator (or the trade marks) into the
// chart. Painters hold no data of their own besides `enabled`: each paint
// reads the generator's lines from the data center by the indicator's key.
#include "chart/paint/paint_context.h"

class CIndicatorDataPainter {
public:
    // 0 trade marks, 1 drawn over the K-line chart, 2 in the sub-chart area.
    enum Kind { kMarks = 0, kMainChart = 1, kSubChart = 2 };

    virtual ~CIndicatorDataPainter() = default;
    // The generator's key ("MA", "VOL", ...), "BS" for the trade marks.
    virtual const char* GetName() const = 0;
    virtual int GetKind() const = 0;
    virtual void Paint(const PaintContext& context) = 0;

    int enabled = 0;
};
