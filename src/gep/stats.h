#pragma once
// The engine's small numeric utilities.
#include <vector>

namespace GEP {

struct MeanDeviation {
    double mean = 0.0;
    double deviation = 0.0;  // sample standard deviation (n - 1)
};

// An empty list is reported ("SHOUT MY ERROR!") and gives a NaN mean.
MeanDeviation meanAndDeviation(const std::vector<double>& values);

// floor(x * 10^digits) / 10^digits.
double truncateDecimals(double x, int digits);

}  // namespace GEP
