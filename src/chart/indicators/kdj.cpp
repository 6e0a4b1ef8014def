#include <cassert>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

#include "chart/indicators.h"
#include "chart/indicators/generator_helpers.h"

using namespace indicators;

namespace {

// Clamps to 0..100; a NaN stays NaN (both comparisons are false).
// J leaves the range often and unpredictably, and compilers keep the plain
// form as branches, so on x86 it is spelt as the max/min instructions: MAXSS
// a, b gives a > b ? a : b and MINSS a, b gives a < b ? a : b, the second
// operand whenever one is NaN, which is exactly the rule above.
float Clamp100(float v) {
#if defined(__SSE__)
    const __m128 atLeast0 = _mm_max_ss(_mm_set_ss(0.0f), _mm_set_ss(v));
    return _mm_cvtss_f32(_mm_min_ss(_mm_set_ss(100.0f), atLeast0));
#else
    v = v < 0.0f ? 0.0f : v;
    return v > 100.0f ? 100.0f : v;
#endif
}

}  // namespace

// RSV = (CLOSE - LLV(LOW, p0)) / (HHV(HIGH, p0) - LLV(LOW, p0)) * 100, or 0
// when the range is empty; K = SMA(RSV, p1, 1), D = SMA(K, p2, 1),
// J = 3K - 2D. J is taken from the unclamped K and D, then all three are
// clamped to 0..100.
// Conditions, on the clamped values: J <= 10 or D <= 20; J < 100 and D < 80;
// K >= D.
// K's and D's recursions advance together: D's step needs only this bar's K.
void CKdjDataGenerator::Generate(const IndicatorInput& input) {
    const Series& close = input.close;
    const size_t n = close.size();
    assert(input.high.size() == n && input.low.size() == n);
    const auto [window, kPeriod, dPeriod] = Periods<3>(params);
    auto kAverage = series::Recursion::Sma(kPeriod, 1, n);
    auto dAverage = series::Recursion::Sma(dPeriod, 1, n);
    const auto [kLine, dLine, jLine] = Outputs<3>(lines, n);
    const auto [low, crossing, kAboveD] = Outputs<3>(conditions, n);
    for (size_t i = 0; i < n; ++i) {
        const float lowest = series::WindowLow(input.low.data(), i, window);
        const float highest = series::WindowHigh(input.high.data(), i, window);
        float rsv = 0.0f;
        if (lowest < highest) {
            rsv = static_cast<float>((static_cast<double>(close[i]) - lowest) /
                                     (static_cast<double>(highest) - lowest) * 100.0);
        }
        const float kRaw = kAverage.Next(rsv);
        const float dRaw = dAverage.Next(kRaw);
        const float k = Clamp100(kRaw);
        const float d = Clamp100(dRaw);
        const float j = Clamp100(static_cast<float>(3.0 * kRaw - 2.0 * dRaw));
        kLine[i] = k;
        dLine[i] = d;
        jLine[i] = j;
        // | and & evaluate both sides without a branch to mispredict.
        low[i] = Flag((j <= 10.0f) | (d <= 20.0f));
        crossing[i] = Flag((j < 100.0f) & (d < 80.0f));
        kAboveD[i] = Flag(k >= d);
    }
}
