#pragma once
// The vertical scale of a plot: value v lies at top + (max - v) * span /
// (max - min). A flat range (max equal to min, a suspended stock showing one
// flat bar) has no such factor: every value then lies on the middle row and
// nothing divides by zero.
#include <vector>

struct VerticalScale {
    float top = 0;
    float span = 0;
    float max = 0;
    float min = 0;
    float k = 0;  // pixels per unit; 0 when flat
    bool flat = true;

    static VerticalScale Over(float top, float span, float max, float min) {
        VerticalScale s{top, span, max, min, 0, !(max > min)};
        if (!s.flat) s.k = span / (max - min);
        return s;
    }
    float Y(float v) const { return flat ? top + span / 2 : top + (max - v) * k; }
    // The value at row y: the inverse of Y (max itself when flat).
    float ValueAt(float y) const { return flat ? max : max - (y - top) / k; }
};

// Highest and lowest finite value of the series over bars [first, first + count):
// the running maximum starts below every value, the minimum at the largest float.
struct ValueRange {
    float max;
    float min;
};
ValueRange VisibleRange(const std::vector<float>& high, const std::vector<float>& low, int first, int count);
ValueRange VisibleRange(const std::vector<float>& values, int first, int count);
