#pragma once
// Reference calculations written straight from the indicator definitions:
// windows are summed per bar, recursions are spelt out, and every per-bar
// expression is evaluated in double from the stored floats and rounded once.
// The generators' outputs must match these bit for bit.
#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "chart/indicator_generator.h"

namespace reference {

struct Output {
    std::vector<Series> lines;
    std::vector<Series> conditions;
};

inline int Period(float p) { return static_cast<int>(std::trunc(p)); }
inline float Flag(bool holds) { return holds ? 1.0f : 0.0f; }

// Running-sum mean in its plainest form: the first window summed in float,
// then sum[i] = float(N * mean[i-1] + x[i] - x[i-N]), mean[i] = sum[i] / N.
inline Series MA(const Series& x, int N) {
    const int n = static_cast<int>(x.size());
    Series mean(n, 0.0f);
    if (N == 0 || N > n) return mean;
    float sum = 0.0f;
    for (int j = 0; j < N; ++j) sum = sum + x[j];
    mean[N - 1] = static_cast<float>(double(sum) / N);
    for (int i = N; i < n; ++i) {
        sum = static_cast<float>(double(N) * mean[i - 1] + double(x[i]) - double(x[i - N]));
        mean[i] = static_cast<float>(double(sum) / N);
    }
    return mean;
}

// y[i] = p x[i] / q + r y[i-1] / q from y[-1] = 0; zeros when the period N
// is 0 or longer than the series.
inline Series Recurrence(const Series& x, int N, double p, double r, double q) {
    Series y(x.size(), 0.0f);
    if (N == 0 || N > static_cast<int>(x.size())) return y;
    float previous = 0.0f;
    for (size_t i = 0; i < x.size(); ++i) {
        y[i] = static_cast<float>(p * x[i] / q + r * previous / q);
        previous = y[i];
    }
    return y;
}

inline Series EMA(const Series& x, int N) { return Recurrence(x, N, 2.0, N - 1.0, N + 1.0); }
inline Series SMA(const Series& x, int N, int M) { return Recurrence(x, N, M, N - M, N); }

// The highest (HHV) or lowest (LLV) of bars i-N+1..i, clipped at bar 0.
template <typename Pick>
Series Extreme(const Series& x, int N, Pick pick) {
    Series y(x.size());
    for (size_t i = 0; i < x.size(); ++i) {
        const long first = std::max(0L, static_cast<long>(i) - N + 1);
        y[i] = *pick(x.begin() + first, x.begin() + i + 1);
    }
    return y;
}

inline Series HHV(const Series& x, int N) {
    return Extreme(x, N, [](auto first, auto end) { return std::max_element(first, end); });
}

inline Series LLV(const Series& x, int N) {
    return Extreme(x, N, [](auto first, auto end) { return std::min_element(first, end); });
}

// AVEDEV and STD: bar i uses the window ending at max(i, N-1), around that
// window's mean; N > n copies x. The result is finish(mean of deviation(x - m)).
template <typename Deviation, typename Finish>
Series Spread(const Series& x, int N, Deviation deviation, Finish finish) {
    if (N > static_cast<int>(x.size())) return x;
    Series y(x.size());
    for (size_t i = 0; i < x.size(); ++i) {
        const size_t last = std::max<size_t>(i, N - 1);
        const std::vector<double> window(x.begin() + (last + 1 - N), x.begin() + last + 1);
        const double m = std::accumulate(window.begin(), window.end(), 0.0) / N;
        double total = 0.0;
        for (const double v : window) total += deviation(v - m);
        y[i] = static_cast<float>(finish(total / N));
    }
    return y;
}

inline Series AVEDEV(const Series& x, int N) {
    return Spread(x, N, [](double d) { return std::abs(d); }, [](double mean) { return mean; });
}

inline Series STD(const Series& x, int N) {
    return Spread(x, N, [](double d) { return d * d; }, [](double mean) { return std::sqrt(mean); });
}

}  // namespace reference
