#include "chart/indicators.h"

// Placeholder until the calculation lands: zero lines and conditions of the
// right shape.
void CKdjDataGenerator::Generate(const IndicatorInput& input) {
    const size_t n = input.close.size();
    lines.assign(3, Series(n, 0.0f));
    conditions.assign(3, Series(n, 0.0f));
}
