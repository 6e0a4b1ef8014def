#include <cassert>

#include "chart/indicators.h"
#include "chart/indicators/generator_helpers.h"
#include "chart/simple_indicator.h"

using namespace indicators;

namespace {

// Clamps to 0..100; a NaN stays NaN (both comparisons are false).
float Clamp100(float v) {
    if (v < 0.0f) return 0.0f;
    if (v > 100.0f) return 100.0f;
    return v;
}

}  // namespace

// RSV = (CLOSE - LLV(LOW, p0)) / (HHV(HIGH, p0) - LLV(LOW, p0)) * 100, or 0
// when the range is empty; K = SMA(RSV, p1, 1), D = SMA(K, p2, 1),
// J = 3K - 2D. J is taken from the unclamped K and D, then all three are
// clamped to 0..100.
// Conditions, on the clamped values: J <= 10 or D <= 20; J < 100 and D < 80;
// K >= D.
void CKdjDataGenerator::Generate(const IndicatorInput& input) {
    const Series& close = input.close;
    const size_t n = close.size();
    assert(input.high.size() == n && input.low.size() == n);
    const int period = Period(params, 0);
    const Series lowest = CSimpleIndicator::LLV(input.low, period);
    const Series highest = CSimpleIndicator::HHV(input.high, period);
    const Series rsv = PerBar(n, [&](size_t i) {
        if (!(lowest[i] < highest[i])) return 0.0;
        return (static_cast<double>(close[i]) - lowest[i]) / (static_cast<double>(highest[i]) - lowest[i]) * 100.0;
    });
    Series k = CSimpleIndicator::SMA(rsv, Period(params, 1), 1);
    Series d = CSimpleIndicator::SMA(k, Period(params, 2), 1);
    Series j = PerBar(n, [&](size_t i) { return 3.0 * k[i] - 2.0 * d[i]; });
    for (size_t i = 0; i < n; ++i) {
        k[i] = Clamp100(k[i]);
        d[i] = Clamp100(d[i]);
        j[i] = Clamp100(j[i]);
    }

    conditions = SeriesList(
        Condition(n, [&](size_t i) { return j[i] <= 10.0f || d[i] <= 20.0f; }),
        Condition(n, [&](size_t i) { return j[i] < 100.0f && d[i] < 80.0f; }),
        Condition(n, [&](size_t i) { return k[i] >= d[i]; }));
    lines = SeriesList(std::move(k), std::move(d), std::move(j));
}
