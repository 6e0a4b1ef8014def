#include <cmath>

#include "chart/indicators.h"
#include "chart/indicators/generator_helpers.h"
#include "chart/simple_indicator.h"

using namespace indicators;

// RSIk = SMA(UP, pk, 1) / SMA(ABS, pk, 1) * 100, where UP is the close's rise
// (0 on a fall) and ABS its absolute change. Both are CLOSE[0] / 10 itself on
// bar 0, even when a forward-adjusted first close is 0 or negative, so every
// RSI line whose period fits into the bars is 100 there (NaN for a zero close).
// Conditions: RSI1 > RSI2; RSI2 > RSI3; 20 <= RSI1 <= 80.
void CRsiDataGenerator::Generate(const IndicatorInput& input) {
    const Series& close = input.close;
    const size_t n = close.size();
    const auto change = [&](size_t i) { return static_cast<double>(close[i]) - close[i - 1]; };
    const Series up = PerBar(n, [&](size_t i) {
        if (i == 0) return close[0] / 10.0;
        const double d = change(i);
        return d > 0.0 ? d : 0.0;
    });
    const Series moves = PerBar(n, [&](size_t i) { return i == 0 ? close[0] / 10.0 : std::abs(change(i)); });

    std::vector<Series> rsi;
    for (size_t k = 0; k < 3; ++k) {
        const int period = Period(params, k);
        const Series rises = CSimpleIndicator::SMA(up, period, 1);
        const Series all = CSimpleIndicator::SMA(moves, period, 1);
        rsi.push_back(PerBar(n, [&](size_t i) { return static_cast<double>(rises[i]) / all[i] * 100.0; }));
    }

    const Series& rsi1 = rsi[0];
    const Series& rsi2 = rsi[1];
    const Series& rsi3 = rsi[2];
    conditions = SeriesList(
        Condition(n, [&](size_t i) { return rsi1[i] > rsi2[i]; }),
        Condition(n, [&](size_t i) { return rsi2[i] > rsi3[i]; }),
        Condition(n, [&](size_t i) { return rsi1[i] >= 20.0f && rsi1[i] <= 80.0f; }));
    lines = std::move(rsi);
}
