#include "chart/indicators.h"
#include "chart/indicators/generator_helpers.h"

using namespace indicators;

// Moving averages of the close: MA1, MA2, MA3.
// Conditions: CLOSE > MA1; MA1 > MA2; MA2 > MA3.
void CMaDataGenerator::Generate(const IndicatorInput& input) {
    const auto periods = Periods<3>(params);
    ThreeMeans(input.close, periods, Outputs<3>(lines, input.close.size()), conditions);
}
