#include "chart/indicators.h"
#include "chart/indicators/generator_helpers.h"
#include "chart/simple_indicator.h"

using namespace indicators;

// The volume itself and three moving averages of it: VOL, MA1, MA2, MA3.
// Conditions: VOL > MA1; MA1 > MA2; MA2 > MA3.
void CVolDataGenerator::Generate(const IndicatorInput& input) {
    Series vol = input.volume;
    const size_t n = vol.size();
    Series ma1 = CSimpleIndicator::MA(vol, Period(params, 0));
    Series ma2 = CSimpleIndicator::MA(vol, Period(params, 1));
    Series ma3 = CSimpleIndicator::MA(vol, Period(params, 2));

    conditions = SeriesList(
        Condition(n, [&](size_t i) { return vol[i] > ma1[i]; }),
        Condition(n, [&](size_t i) { return ma1[i] > ma2[i]; }),
        Condition(n, [&](size_t i) { return ma2[i] > ma3[i]; }));
    lines = SeriesList(std::move(vol), std::move(ma1), std::move(ma2), std::move(ma3));
}
