#include "chart/indicators.h"
#include "chart/indicators/generator_helpers.h"
#include "chart/simple_indicator.h"

using namespace indicators;

// Moving averages of the close: MA1, MA2, MA3.
// Conditions: CLOSE > MA1; MA1 > MA2; MA2 > MA3.
void CMaDataGenerator::Generate(const IndicatorInput& input) {
    const Series& close = input.close;
    const size_t n = close.size();
    Series ma1 = CSimpleIndicator::MA(close, Period(params, 0));
    Series ma2 = CSimpleIndicator::MA(close, Period(params, 1));
    Series ma3 = CSimpleIndicator::MA(close, Period(params, 2));

    conditions = SeriesList(
        Condition(n, [&](size_t i) { return close[i] > ma1[i]; }),
        Condition(n, [&](size_t i) { return ma1[i] > ma2[i]; }),
        Condition(n, [&](size_t i) { return ma2[i] > ma3[i]; }));
    lines = SeriesList(std::move(ma1), std::move(ma2), std::move(ma3));
}
