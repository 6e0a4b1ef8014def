#include "chart/indicators.h"
#include "chart/indicators/generator_helpers.h"
#include "chart/simple_indicator.h"

using namespace indicators;

// DIFF = EMA(CLOSE, p0) - EMA(CLOSE, p1); DEA = EMA(DIFF, p2);
// MACD = (DIFF - DEA) * 2. Both averages start from 0, so DIFF is distorted
// over the first tens of bars; that warm-up is part of the output.
// Conditions: DIFF > 0; DEA > 0; MACD > 0.
void CMacdDataGenerator::Generate(const IndicatorInput& input) {
    const Series& close = input.close;
    const size_t n = close.size();
    const Series fast = CSimpleIndicator::EMA(close, Period(params, 0));
    const Series slow = CSimpleIndicator::EMA(close, Period(params, 1));
    Series diff = PerBar(n, [&](size_t i) { return static_cast<double>(fast[i]) - slow[i]; });
    Series dea = CSimpleIndicator::EMA(diff, Period(params, 2));
    Series macd = PerBar(n, [&](size_t i) { return (static_cast<double>(diff[i]) - dea[i]) * 2.0; });

    conditions = SeriesList(
        Condition(n, [&](size_t i) { return diff[i] > 0.0f; }),
        Condition(n, [&](size_t i) { return dea[i] > 0.0f; }),
        Condition(n, [&](size_t i) { return macd[i] > 0.0f; }));
    lines = SeriesList(std::move(diff), std::move(dea), std::move(macd));
}
