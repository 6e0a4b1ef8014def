#include <cassert>

#include "chart/indicators.h"
#include "chart/indicators/generator_helpers.h"

using namespace indicators;

namespace {

// The scale factor is a single-precision constant (0.0149999997), widened to
// double for the division.
constexpr float kMeanDeviationScale = 0.015f;

}  // namespace

// TP = (HIGH + LOW + CLOSE) / 3; CCI = (TP - MA(TP, p0)) / (AVEDEV(TP, p0) * 0.015).
// No guard on the division: a flat window gives NaN or an infinity, whose
// conditions follow the comparison rules (NaN: all 0).
// Conditions: CCI < -100; CCI > 100; CCI > 0.
void CCciDataGenerator::Generate(const IndicatorInput& input) {
    const Series& close = input.close;
    const size_t n = close.size();
    assert(input.high.size() == n && input.low.size() == n);
    const int period = Period(params, 0);
    Series tp(n);
    for (size_t i = 0; i < n; ++i)
        tp[i] = static_cast<float>((static_cast<double>(input.high[i]) + input.low[i] + close[i]) / 3.0);

    // The mean deviation goes into the CCI line first and is replaced there
    // bar by bar, while MA's running sum advances.
    const auto [cci] = Outputs<1>(lines, n);
    series::MeanDeviation(tp, period, cci);
    series::RunningMean mean(tp, period);
    const auto [below, above, positive] = Outputs<3>(conditions, n);
    for (size_t i = 0; i < n; ++i) {
        const float m = mean.Next(i);
        const auto value = static_cast<float>((static_cast<double>(tp[i]) - m) /
                                              (static_cast<double>(cci[i]) * kMeanDeviationScale));
        cci[i] = value;
        below[i] = Flag(value < -100.0f);
        above[i] = Flag(value > 100.0f);
        positive[i] = Flag(value > 0.0f);
    }
}
