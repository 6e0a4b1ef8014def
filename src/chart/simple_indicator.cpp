#include "chart/simple_indicator.h"

#include "chart/series_steps.h"

Series CSimpleIndicator::MA(const Series& x, int period) {
    Series y(x.size());
    series::RunningMean mean(x, period);
    for (size_t i = 0; i < x.size(); ++i) y[i] = mean.Next(i);
    return y;
}

namespace {

Series Recur(const Series& x, series::Recursion recursion) {
    Series y(x.size());
    for (size_t i = 0; i < x.size(); ++i) y[i] = recursion.Next(x[i]);
    return y;
}

}  // namespace

Series CSimpleIndicator::EMA(const Series& x, int period) {
    return Recur(x, series::Recursion::Ema(period, x.size()));
}

Series CSimpleIndicator::SMA(const Series& x, int period, int weight) {
    return Recur(x, series::Recursion::Sma(period, weight, x.size()));
}

Series CSimpleIndicator::HHV(const Series& x, int period) {
    Series y(x.size());
    for (size_t i = 0; i < x.size(); ++i) y[i] = series::WindowHigh(x.data(), i, period);
    return y;
}

Series CSimpleIndicator::LLV(const Series& x, int period) {
    Series y(x.size());
    for (size_t i = 0; i < x.size(); ++i) y[i] = series::WindowLow(x.data(), i, period);
    return y;
}

Series CSimpleIndicator::AVEDEV(const Series& x, int period) {
    Series y(x.size());
    series::MeanDeviation(x, period, y.data());
    return y;
}

Series CSimpleIndicator::STD(const Series& x, int period) {
    Series y(x.size());
    series::StandardDeviation(x, period, y.data());
    return y;
}
