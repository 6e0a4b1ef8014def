#include "chart/series_steps.h"

#include <algorithm>
#include <cmath>

namespace series {
namespace {

// Windows handled together by SpreadBlock.
constexpr size_t kBlock = 4;

// The spreads of the K windows of p bars starting at window[0..K-1], i.e.
// ending at K consecutive bars, written to y[0..K-1]. Each window's sums run
// in index order exactly as for a window on its own, in double from the
// stored floats, around the window's own mean; only the K independent sums
// are interleaved, so the processor overlaps them.
template <size_t K, typename Deviation, typename Finish>
void SpreadBlock(const float* window, size_t p, float* y, Deviation deviation, Finish finish) {
    const auto count = static_cast<double>(p);
    double sum[K] = {};
    for (size_t j = 0; j < p; ++j)
        for (size_t k = 0; k < K; ++k) sum[k] += window[j + k];
    double mean[K];
    for (size_t k = 0; k < K; ++k) mean[k] = sum[k] / count;
    double total[K] = {};
    for (size_t j = 0; j < p; ++j)
        for (size_t k = 0; k < K; ++k) total[k] += deviation(window[j + k] - mean[k]);
    for (size_t k = 0; k < K; ++k) y[k] = static_cast<float>(finish(total[k] / count));
}

// AVEDEV and STD over every full window; the bars before the first full
// window repeat its value, a period longer than x copies x, and a period
// below 1 gives zeros.
template <typename Deviation, typename Finish>
void WindowSpread(const Series& x, int period, float* y, Deviation deviation, Finish finish) {
    const size_t n = x.size();
    if (period < 1) {
        std::fill(y, y + n, 0.0f);
        return;
    }
    const size_t p = static_cast<size_t>(period);
    if (p > n) {
        std::copy(x.begin(), x.end(), y);
        return;
    }
    size_t i = p - 1;
    for (; i + kBlock <= n; i += kBlock) SpreadBlock<kBlock>(x.data() + (i + 1 - p), p, y + i, deviation, finish);
    for (; i < n; ++i) SpreadBlock<1>(x.data() + (i + 1 - p), p, y + i, deviation, finish);
    std::fill(y, y + (p - 1), y[p - 1]);
}

}  // namespace

void MeanDeviation(const Series& x, int period, float* y) {
    WindowSpread(
        x, period, y, [](double d) { return std::abs(d); }, [](double mean) { return mean; });
}

void StandardDeviation(const Series& x, int period, float* y) {
    WindowSpread(
        x, period, y, [](double d) { return d * d; }, [](double mean) { return std::sqrt(mean); });
}

}  // namespace series
