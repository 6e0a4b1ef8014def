#include <algorithm>

#include "chart/indicators.h"
#include "chart/indicators/generator_helpers.h"

using namespace indicators;

// The volume itself and three moving averages of it: VOL, MA1, MA2, MA3.
// Conditions: VOL > MA1; MA1 > MA2; MA2 > MA3.
void CVolDataGenerator::Generate(const IndicatorInput& input) {
    const Series& volume = input.volume;
    const auto periods = Periods<3>(params);
    const auto [vol, ma1, ma2, ma3] = Outputs<4>(lines, volume.size());
    std::copy(volume.begin(), volume.end(), vol);
    ThreeMeans(volume, periods, {ma1, ma2, ma3}, conditions);
}
