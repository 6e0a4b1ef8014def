#include "chart/simple_indicator.h"

#include <algorithm>
#include <cmath>

namespace {

// True when no full window of `period` bars fits into n bars.
bool NoFullWindow(int period, size_t n) {
    return period < 1 || static_cast<size_t>(period) > n;
}

// The recursion shared by EMA and SMA: y[i] = a*x[i]/d + b*y[i-1]/d, reading
// y[i-1] as the stored single-precision element.
Series WeightedRecursion(const Series& x, double a, double b, double d) {
    Series y(x.size());
    float previous = 0.0f;
    for (size_t i = 0; i < x.size(); ++i) {
        previous = static_cast<float>(a * x[i] / d + b * previous / d);
        y[i] = previous;
    }
    return y;
}

// HHV and LLV: the element of the clipped window that no other beats.
// Candidates replace the current best only when `beats` says so, so a NaN
// never replaces a number, and a NaN at the window's start stays.
template <typename Beats>
Series WindowExtreme(const Series& x, int period, Beats beats) {
    Series y(x.size(), 0.0f);
    if (period < 1) return y;
    const size_t p = static_cast<size_t>(period);
    for (size_t i = 0; i < x.size(); ++i) {
        const size_t first = i + 1 > p ? i + 1 - p : 0;
        float best = x[first];
        for (size_t j = first + 1; j <= i; ++j) {
            if (beats(x[j], best)) best = x[j];
        }
        y[i] = best;
    }
    return y;
}

// AVEDEV and STD: `spread(window, p, mean)` over every full window, the mean
// taken in double over the window itself. The bars before the first full
// window repeat its value.
template <typename Spread>
Series WindowSpread(const Series& x, int period, Spread spread) {
    if (period < 1) return Series(x.size(), 0.0f);
    const size_t n = x.size();
    const size_t p = static_cast<size_t>(period);
    if (p > n) return x;
    Series y(n);
    for (size_t i = p - 1; i < n; ++i) {
        const float* window = x.data() + (i + 1 - p);
        double sum = 0.0;
        for (size_t j = 0; j < p; ++j) sum += window[j];
        y[i] = static_cast<float>(spread(window, p, sum / p));
    }
    std::fill(y.begin(), y.begin() + (p - 1), y[p - 1]);
    return y;
}

}  // namespace

Series CSimpleIndicator::MA(const Series& x, int period) {
    const size_t n = x.size();
    Series y(n, 0.0f);
    if (NoFullWindow(period, n)) return y;
    const size_t p = static_cast<size_t>(period);

    // The first full window is summed in single precision, in index order.
    float first_sum = 0.0f;
    for (size_t j = 0; j < p; ++j) first_sum += x[j];
    y[p - 1] = static_cast<float>(static_cast<double>(first_sum) / p);

    // Later bars recover the previous sum from the previous mean; rounding
    // that sum to single precision is where the drift comes from.
    for (size_t i = p; i < n; ++i) {
        const auto sum = static_cast<float>(static_cast<double>(p) * y[i - 1] + x[i] - x[i - p]);
        y[i] = static_cast<float>(static_cast<double>(sum) / p);
    }
    return y;
}

Series CSimpleIndicator::EMA(const Series& x, int period) {
    if (NoFullWindow(period, x.size())) return Series(x.size(), 0.0f);
    return WeightedRecursion(x, 2.0, period - 1.0, period + 1.0);
}

Series CSimpleIndicator::SMA(const Series& x, int period, int weight) {
    if (NoFullWindow(period, x.size())) return Series(x.size(), 0.0f);
    return WeightedRecursion(x, weight, static_cast<double>(period) - weight, period);
}

Series CSimpleIndicator::HHV(const Series& x, int period) {
    return WindowExtreme(x, period, [](float candidate, float best) { return candidate > best; });
}

Series CSimpleIndicator::LLV(const Series& x, int period) {
    return WindowExtreme(x, period, [](float candidate, float best) { return candidate < best; });
}

Series CSimpleIndicator::AVEDEV(const Series& x, int period) {
    return WindowSpread(x, period, [](const float* window, size_t p, double mean) {
        double sum = 0.0;
        for (size_t j = 0; j < p; ++j) sum += std::abs(window[j] - mean);
        return sum / p;
    });
}

Series CSimpleIndicator::STD(const Series& x, int period) {
    return WindowSpread(x, period, [](const float* window, size_t p, double mean) {
        double sum = 0.0;
        for (size_t j = 0; j < p; ++j) sum += (window[j] - mean) * (window[j] - mean);
        return std::sqrt(sum / p);
    });
}
