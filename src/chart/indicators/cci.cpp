#include <cassert>

#include "chart/indicators.h"
#include "chart/indicators/generator_helpers.h"
#include "chart/simple_indicator.h"

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
    const Series tp = PerBar(n, [&](size_t i) {
        return (static_cast<double>(input.high[i]) + input.low[i] + close[i]) / 3.0;
    });
    const int period = Period(params, 0);
    const Series mean = CSimpleIndicator::MA(tp, period);
    const Series deviation = CSimpleIndicator::AVEDEV(tp, period);
    Series cci = PerBar(n, [&](size_t i) {
        return (static_cast<double>(tp[i]) - mean[i]) / (static_cast<double>(deviation[i]) * kMeanDeviationScale);
    });

    conditions = SeriesList(
        Condition(n, [&](size_t i) { return cci[i] < -100.0f; }),
        Condition(n, [&](size_t i) { return cci[i] > 100.0f; }),
        Condition(n, [&](size_t i) { return cci[i] > 0.0f; }));
    lines = SeriesList(std::move(cci));
}
