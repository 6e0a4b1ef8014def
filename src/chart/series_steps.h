#pragma once
// The arithmetic of the series functions as building blocks: recurrences
// that advance one bar at a time and window functions that write into
// storage the caller owns. CSimpleIndicator is built from them, and so are
// the generators, which advance several independent recurrences in one loop
// over the bars: each recurrence is a chain of dependent divisions whose
// latency, not the processor's throughput, bounds its speed, so interleaving
// three of them costs little more than running one. Every step performs
// exactly the operations of its function (see simple_indicator.h), in the
// same order, so the results are the same bit for bit.
#include <cstddef>
#include <limits>

#include "chart/indicator_generator.h"

namespace series {

// True when no full window of `period` bars fits into n bars.
inline bool NoFullWindow(int period, size_t n) { return period < 1 || static_cast<size_t>(period) > n; }

// MA(x, period) one bar at a time: Next(i) must be called for i = 0, 1, 2, ...
class RunningMean {
public:
    RunningMean(const Series& x, int period)
        : x_(x.data()),
          period_(NoFullWindow(period, x.size()) ? 1 : static_cast<size_t>(period)),
          first_(NoFullWindow(period, x.size()) ? kNever : period_ - 1),
          divisor_(static_cast<double>(period_)) {}

    float Next(size_t i) {
        if (i <= first_) return i == first_ ? FirstWindow() : 0.0f;
        // The previous sum comes back from the previous mean; rounding it to
        // single precision is where MA's drift comes from.
        const auto sum = static_cast<float>(divisor_ * mean_ + x_[i] - x_[i - period_]);
        mean_ = static_cast<float>(static_cast<double>(sum) / divisor_);
        return mean_;
    }

private:
    static constexpr size_t kNever = std::numeric_limits<size_t>::max();

    // The first full window is summed in single precision, in index order.
    float FirstWindow() {
        float sum = 0.0f;
        for (size_t j = 0; j < period_; ++j) sum += x_[j];
        mean_ = static_cast<float>(static_cast<double>(sum) / divisor_);
        return mean_;
    }

    const float* x_;
    size_t period_;
    size_t first_;  // the bar of the first full window; kNever when none fits
    double divisor_;
    float mean_ = 0.0f;
};

// The recursion shared by EMA and SMA, y[i] = a*x[i]/d + b*y[i-1]/d from
// y[-1] = 0, reading y[i-1] as the stored single-precision value. A period
// with no full window gives 0 on every bar.
class Recursion {
public:
    static Recursion Ema(int period, size_t n) {
        return Recursion(2.0, period - 1.0, period + 1.0, NoFullWindow(period, n));
    }
    static Recursion Sma(int period, int weight, size_t n) {
        return Recursion(weight, static_cast<double>(period) - weight, period, NoFullWindow(period, n));
    }

    float Next(float x) {
        if (zero_) return 0.0f;
        previous_ = static_cast<float>(a_ * x / d_ + b_ * previous_ / d_);
        return previous_;
    }

private:
    Recursion(double a, double b, double d, bool zero) : a_(a), b_(b), d_(d), zero_(zero) {}

    double a_, b_, d_;
    bool zero_;
    float previous_ = 0.0f;
};

// HHV(x, period) and LLV(x, period) at bar i: the element of the window
// x[i-period+1..i], clipped at bar 0, that no other beats. A candidate
// replaces the best so far only when it is strictly beyond it, so a NaN never
// replaces a number and a NaN at the window's start stays. 0 for a period
// below 1.
template <typename Beats>
float WindowExtreme(const float* x, size_t i, int period, Beats beats) {
    if (period < 1) return 0.0f;
    const size_t p = static_cast<size_t>(period);
    const size_t first = i + 1 > p ? i + 1 - p : 0;
    float best = x[first];
    // A select rather than a branch: which element wins is data-dependent
    // and would mispredict (the compiler emits a single max/min instruction).
    for (size_t j = first + 1; j <= i; ++j) best = beats(x[j], best) ? x[j] : best;
    return best;
}

inline float WindowHigh(const float* x, size_t i, int period) {
    return WindowExtreme(x, i, period, [](float candidate, float best) { return candidate > best; });
}

inline float WindowLow(const float* x, size_t i, int period) {
    return WindowExtreme(x, i, period, [](float candidate, float best) { return candidate < best; });
}

// AVEDEV(x, period) and STD(x, period) written into y[0..n-1].
void MeanDeviation(const Series& x, int period, float* y);
void StandardDeviation(const Series& x, int period, float* y);

}  // namespace series
