#pragma once
// Small pieces every generator uses: reading a period from `params`, sizing
// the output series in place, and the 0/1 value of a condition.
#include <array>
#include <cstddef>
#include <vector>

#include "chart/indicator_generator.h"
#include "chart/series_steps.h"

namespace indicators {

// The period at params[index]: the float truncated toward zero. Values that
// are no usable period (below 1, NaN) give 0, which the series functions
// answer with all zeros; huge values are capped so the conversion stays defined.
inline int Period(const Series& params, size_t index) {
    const float value = params.at(index);
    if (!(value >= 1.0f)) return 0;
    if (value >= 1.0e9f) return 1'000'000'000;
    return static_cast<int>(value);
}

// The periods at params[0..Count-1], read before any output is touched, so a
// missing parameter fails with the previous outputs intact.
template <size_t Count>
std::array<int, Count> Periods(const Series& params) {
    std::array<int, Count> periods;
    for (size_t k = 0; k < Count; ++k) periods[k] = Period(params, k);
    return periods;
}

// Sizes `list` to Count series of n elements and returns where each one's
// elements start. The series keep the storage they already hold: the data
// center recomputes every generator on each load and toggle, and readers
// hold the data lock, so overwriting in place is safe and allocates nothing.
template <size_t Count>
std::array<float*, Count> Outputs(std::vector<Series>& list, size_t n) {
    list.resize(Count);
    std::array<float*, Count> out;
    for (size_t k = 0; k < Count; ++k) {
        list[k].resize(n);
        out[k] = list[k].data();
    }
    return out;
}

// A condition's value on a bar: 1.0 where it holds, 0.0 elsewhere.
// Comparisons with a NaN are false, so a NaN operand gives 0.
// Converted, not selected, so no branch can mispredict.
inline float Flag(bool holds) { return static_cast<float>(holds); }

// MA1..MA3 = MA(x, periods[0..2]) into means[0..2], with the conditions
// x > MA1; MA1 > MA2; MA2 > MA3 (the MA and VOL indicators). The three
// running sums advance together, one bar at a time.
inline void ThreeMeans(const Series& x, const std::array<int, 3>& periods, const std::array<float*, 3>& means,
                       std::vector<Series>& conditions) {
    series::RunningMean mean1(x, periods[0]);
    series::RunningMean mean2(x, periods[1]);
    series::RunningMean mean3(x, periods[2]);
    const size_t n = x.size();
    const auto [above, rising12, rising23] = Outputs<3>(conditions, n);
    for (size_t i = 0; i < n; ++i) {
        const float ma1 = mean1.Next(i);
        const float ma2 = mean2.Next(i);
        const float ma3 = mean3.Next(i);
        means[0][i] = ma1;
        means[1][i] = ma2;
        means[2][i] = ma3;
        above[i] = Flag(x[i] > ma1);
        rising12[i] = Flag(ma1 > ma2);
        rising23[i] = Flag(ma2 > ma3);
    }
}

}  // namespace indicators
