#include "chart/indicators.h"
#include "chart/indicators/generator_helpers.h"

using namespace indicators;

// DIFF = EMA(CLOSE, p0) - EMA(CLOSE, p1); DEA = EMA(DIFF, p2);
// MACD = (DIFF - DEA) * 2. Both averages start from 0, so DIFF is distorted
// over the first tens of bars; that warm-up is part of the output.
// Conditions: DIFF > 0; DEA > 0; MACD > 0.
// The three recursions advance together: DEA's step needs only this bar's DIFF.
void CMacdDataGenerator::Generate(const IndicatorInput& input) {
    const Series& close = input.close;
    const size_t n = close.size();
    const auto [p0, p1, p2] = Periods<3>(params);
    auto fast = series::Recursion::Ema(p0, n);
    auto slow = series::Recursion::Ema(p1, n);
    auto signal = series::Recursion::Ema(p2, n);
    const auto [diff, dea, macd] = Outputs<3>(lines, n);
    const auto [diffUp, deaUp, macdUp] = Outputs<3>(conditions, n);
    for (size_t i = 0; i < n; ++i) {
        const float e1 = fast.Next(close[i]);
        const float e2 = slow.Next(close[i]);
        const auto d = static_cast<float>(static_cast<double>(e1) - e2);
        const float a = signal.Next(d);
        const auto m = static_cast<float>((static_cast<double>(d) - a) * 2.0);
        diff[i] = d;
        dea[i] = a;
        macd[i] = m;
        diffUp[i] = Flag(d > 0.0f);
        deaUp[i] = Flag(a > 0.0f);
        macdUp[i] = Flag(m > 0.0f);
    }
}
