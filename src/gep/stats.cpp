#include "gep/stats.h"

#include <cmath>
#include <cstdio>

namespace GEP {

MeanDeviation meanAndDeviation(const std::vector<double>& values) {
    if (values.empty()) std::fputs("SHOUT MY ERROR!\n", stdout);
    double sum = 0.0;
    for (const double v : values) sum += v;
    MeanDeviation result;
    result.mean = sum / static_cast<double>(values.size());
    double squares = 0.0;
    for (const double v : values) squares += (v - result.mean) * (v - result.mean);
    if (squares != 0.0) result.deviation = std::sqrt(squares / static_cast<double>(values.size() - 1));
    return result;
}

double truncateDecimals(double x, int digits) {
    const double scale = std::pow(10.0, digits);
    return std::floor(x * scale) / scale;
}

}  // namespace GEP
