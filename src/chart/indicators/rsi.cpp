#include <cmath>

#include "chart/indicators.h"
#include "chart/indicators/generator_helpers.h"

using namespace indicators;

// RSIk = SMA(UP, pk, 1) / SMA(ABS, pk, 1) * 100, where UP is the close's rise
// (0 on a fall) and ABS its absolute change. Both are CLOSE[0] / 10 itself on
// bar 0, even when a forward-adjusted first close is 0 or negative, so every
// RSI line whose period fits into the bars is 100 there (NaN for a zero close).
// Conditions: RSI1 > RSI2; RSI2 > RSI3; 20 <= RSI1 <= 80.
// The six recursions advance together, one bar at a time.
void CRsiDataGenerator::Generate(const IndicatorInput& input) {
    const Series& close = input.close;
    const size_t n = close.size();
    const auto periods = Periods<3>(params);
    series::Recursion rises[3] = {series::Recursion::Sma(periods[0], 1, n), series::Recursion::Sma(periods[1], 1, n),
                                  series::Recursion::Sma(periods[2], 1, n)};
    series::Recursion moves[3] = {series::Recursion::Sma(periods[0], 1, n), series::Recursion::Sma(periods[1], 1, n),
                                  series::Recursion::Sma(periods[2], 1, n)};
    const auto rsi = Outputs<3>(lines, n);
    const auto [rising12, rising23, midRange] = Outputs<3>(conditions, n);
    for (size_t i = 0; i < n; ++i) {
        float up, all;
        if (i == 0) {
            up = all = static_cast<float>(close[0] / 10.0);
        } else {
            const double change = static_cast<double>(close[i]) - close[i - 1];
            up = static_cast<float>(change > 0.0 ? change : 0.0);
            all = static_cast<float>(std::abs(change));
        }
        float value[3];
        for (size_t k = 0; k < 3; ++k) {
            const float rise = rises[k].Next(up);
            const float move = moves[k].Next(all);
            value[k] = static_cast<float>(static_cast<double>(rise) / move * 100.0);
            rsi[k][i] = value[k];
        }
        rising12[i] = Flag(value[0] > value[1]);
        rising23[i] = Flag(value[1] > value[2]);
        midRange[i] = Flag((value[0] >= 20.0f) & (value[0] <= 80.0f));  // no branch to mispredict
    }
}
