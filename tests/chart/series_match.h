#pragma once
// Bit-for-bit comparison of series: equal sizes and equal elements, a NaN
// matching only a NaN. Reports where the first few mismatches are.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "chart/indicator_generator.h"

inline ::testing::AssertionResult SameSeries(const Series& actual, const Series& expected) {
    if (actual.size() != expected.size()) {
        return ::testing::AssertionFailure() << "sizes differ: " << actual.size() << " vs " << expected.size();
    }
    size_t mismatches = 0;
    std::string where;
    for (size_t i = 0; i < actual.size(); ++i) {
        const bool same = actual[i] == expected[i] || (std::isnan(actual[i]) && std::isnan(expected[i]));
        if (same) continue;
        if (++mismatches <= 3) {
            where += " [" + std::to_string(i) + "] " + std::to_string(actual[i]) + " vs " + std::to_string(expected[i]);
        }
    }
    if (mismatches == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << mismatches << " elements differ:" << where;
}
