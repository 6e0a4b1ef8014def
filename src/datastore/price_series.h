#pragma once
// The five bar fields of the current stock, one element per bar, index 0 the
// oldest bar.
#include <vector>

struct PriceSeries {
    std::vector<float> open;
    std::vector<float> high;
    std::vector<float> low;
    std::vector<float> close;
    std::vector<float> volume;
};
