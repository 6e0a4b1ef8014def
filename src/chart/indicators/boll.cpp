#include "chart/indicators.h"
#include "chart/indicators/generator_helpers.h"
#include "chart/simple_indicator.h"

using namespace indicators;

// MID = MA(CLOSE, p0); UPPER / LOWER = MID +/- p1 * STD(CLOSE, p0), the width
// factor p1 used as the float it is. On the warm-up bars MID is 0 while the
// deviation repeats that of bar p0-1, so UPPER is positive and LOWER negative.
// Conditions: CLOSE > UPPER; CLOSE > MID; CLOSE < LOWER.
void CBollDataGenerator::Generate(const IndicatorInput& input) {
    const Series& close = input.close;
    const size_t n = close.size();
    const int period = Period(params, 0);
    const double width = params.at(1);
    Series mid = CSimpleIndicator::MA(close, period);
    const Series deviation = CSimpleIndicator::STD(close, period);
    Series upper = PerBar(n, [&](size_t i) { return mid[i] + width * deviation[i]; });
    Series lower = PerBar(n, [&](size_t i) { return mid[i] - width * deviation[i]; });

    conditions = SeriesList(
        Condition(n, [&](size_t i) { return close[i] > upper[i]; }),
        Condition(n, [&](size_t i) { return close[i] > mid[i]; }),
        Condition(n, [&](size_t i) { return close[i] < lower[i]; }));
    lines = SeriesList(std::move(upper), std::move(mid), std::move(lower));
}
