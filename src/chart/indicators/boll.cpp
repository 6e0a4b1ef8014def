#include "chart/indicators.h"
#include "chart/indicators/generator_helpers.h"

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

    // The deviation goes into UPPER first and is replaced there bar by bar,
    // while MA's running sum advances.
    const auto [upper, mid, lower] = Outputs<3>(lines, n);
    series::StandardDeviation(close, period, upper);
    series::RunningMean mean(close, period);
    const auto [aboveUpper, aboveMid, belowLower] = Outputs<3>(conditions, n);
    for (size_t i = 0; i < n; ++i) {
        const float m = mean.Next(i);
        const double band = width * upper[i];
        const auto up = static_cast<float>(m + band);
        const auto down = static_cast<float>(m - band);
        upper[i] = up;
        mid[i] = m;
        lower[i] = down;
        aboveUpper[i] = Flag(close[i] > up);
        aboveMid[i] = Flag(close[i] > m);
        belowLower[i] = Flag(close[i] < down);
    }
}
