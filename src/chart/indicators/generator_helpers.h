#pragma once
// Small pieces every generator uses: reading a period from `params`, building
// a series element by element, and building a 0/1 condition series.
#include <cstddef>
#include <utility>
#include <vector>

#include "chart/indicator_generator.h"

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

// A series of n elements, each computed in double by value(i) and rounded to
// single precision once, when stored.
template <typename Value>
Series PerBar(size_t n, Value value) {
    Series out(n);
    for (size_t i = 0; i < n; ++i) out[i] = static_cast<float>(value(i));
    return out;
}

// 1.0 on the bars where holds(i) is true, 0.0 elsewhere. Comparisons with a
// NaN are false, so a NaN operand gives 0.
template <typename Holds>
Series Condition(size_t n, Holds holds) {
    Series out(n);
    for (size_t i = 0; i < n; ++i) out[i] = holds(i) ? 1.0f : 0.0f;
    return out;
}

// Moves the given series into a new list, in order (a braced list would copy).
template <typename... Lines>
std::vector<Series> SeriesList(Lines&&... series) {
    std::vector<Series> list;
    list.reserve(sizeof...(series));
    (list.push_back(std::forward<Lines>(series)), ...);
    return list;
}

}  // namespace indicators
