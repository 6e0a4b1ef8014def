#pragma once
// The seven indicator painters, each named after its generator: MA and BOLL
// over the K-line chart, VOL, KDJ, MACD, CCI and RSI in the sub-chart area.
// Each keeps its pens (built once); everything else is read on each paint.
#include <array>

#include <QPen>

#include "chart/paint/indicator_painter.h"

#define KORVEL_DECLARE_PAINTER(Class, Key, Kind, Lines)                    \
    class Class final : public CIndicatorDataPainter {                    \
    public:                                                               \
        Class();                                                          \
        const char* GetName() const override { return Key; }              \
        int GetKind() const override { return Kind; }                     \
        void Paint(const PaintContext& context) override;                 \
                                                                          \
    private:                                                              \
        std::array<QPen, Lines> pens_;                                    \
    };

KORVEL_DECLARE_PAINTER(CVolDataPainter, "VOL", kSubChart, 4)    // MA1-MA3, rising box outline
KORVEL_DECLARE_PAINTER(CKdjDataPainter, "KDJ", kSubChart, 3)
KORVEL_DECLARE_PAINTER(CMacdDataPainter, "MACD", kSubChart, 4)  // DIFF, DEA, positive and negative bars
KORVEL_DECLARE_PAINTER(CMaDataPainter, "MA", kMainChart, 3)
KORVEL_DECLARE_PAINTER(CCciDataPainter, "CCI", kSubChart, 1)
KORVEL_DECLARE_PAINTER(CRsiDataPainter, "RSI", kSubChart, 3)
KORVEL_DECLARE_PAINTER(CBollDataPainter, "BOLL", kMainChart, 3)

#undef KORVEL_DECLARE_PAINTER
