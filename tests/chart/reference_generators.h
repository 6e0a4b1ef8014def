#pragma once
// Reference forms of the seven indicators, one function each, computing the
// lines and condition series bar by bar from the definitions.
#include <array>
#include <cmath>

#include "reference_indicators.h"

namespace reference {

// The series f(0) .. f(n - 1), each value rounded to float once.
template <typename F>
Series PerBar(size_t n, F f) {
    Series y(n);
    for (size_t i = 0; i < n; ++i) y[i] = static_cast<float>(f(i));
    return y;
}

// The three condition series from the three flags holds(i) gives for bar i.
template <typename Holds>
std::vector<Series> Conditions(size_t n, Holds holds) {
    std::vector<Series> conditions(3, Series(n));
    for (size_t i = 0; i < n; ++i) {
        const std::array<bool, 3> flags = holds(i);
        for (size_t k = 0; k < 3; ++k) conditions[k][i] = Flag(flags[k]);
    }
    return conditions;
}

inline Output Ma(const Series& params, const Series& close) {
    const Series a = MA(close, Period(params[0]));
    const Series b = MA(close, Period(params[1]));
    const Series c = MA(close, Period(params[2]));
    return {{a, b, c}, Conditions(close.size(), [&](size_t i) {
                return std::array{close[i] > a[i], a[i] > b[i], b[i] > c[i]};
            })};
}

// The volume, then MA's lines and conditions over the volume.
inline Output Vol(const Series& params, const Series& volume) {
    Output out = Ma(params, volume);
    out.lines.insert(out.lines.begin(), volume);
    return out;
}

inline Output Macd(const Series& params, const Series& close) {
    const Series e1 = EMA(close, Period(params[0])), e2 = EMA(close, Period(params[1]));
    const size_t n = close.size();
    const Series diff = PerBar(n, [&](size_t i) { return double(e1[i]) - double(e2[i]); });
    const Series dea = EMA(diff, Period(params[2]));
    const Series macd = PerBar(n, [&](size_t i) { return (double(diff[i]) - double(dea[i])) * 2.0; });
    return {{diff, dea, macd}, Conditions(n, [&](size_t i) {
                return std::array{diff[i] > 0, dea[i] > 0, macd[i] > 0};
            })};
}

inline float Clamp(float v) { return v < 0 ? 0.0f : v > 100 ? 100.0f : v; }

// J from the unclamped K and D; then all three clamped to 0..100.
inline Output Kdj(const Series& params, const Series& close, const Series& high, const Series& low) {
    const size_t n = close.size();
    const Series ll = LLV(low, Period(params[0])), hh = HHV(high, Period(params[0]));
    const Series rsv = PerBar(n, [&](size_t i) {
        return ll[i] < hh[i] ? (double(close[i]) - ll[i]) / (double(hh[i]) - ll[i]) * 100.0 : 0.0;
    });
    const Series k = SMA(rsv, Period(params[1]), 1), d = SMA(k, Period(params[2]), 1);
    const Series j = PerBar(n, [&](size_t i) { return Clamp(static_cast<float>(3.0 * k[i] - 2.0 * d[i])); });
    const Series kc = PerBar(n, [&](size_t i) { return Clamp(k[i]); });
    const Series dc = PerBar(n, [&](size_t i) { return Clamp(d[i]); });
    return {{kc, dc, j}, Conditions(n, [&](size_t i) {
                return std::array{j[i] <= 10 || dc[i] <= 20, j[i] < 100 && dc[i] < 80, kc[i] >= dc[i]};
            })};
}

inline Output Cci(const Series& params, const Series& close, const Series& high, const Series& low) {
    const size_t n = close.size();
    const Series tp = PerBar(n, [&](size_t i) { return (double(high[i]) + low[i] + close[i]) / 3.0; });
    const Series m = MA(tp, Period(params[0])), md = AVEDEV(tp, Period(params[0]));
    const Series cci = PerBar(n, [&](size_t i) {
        return (double(tp[i]) - m[i]) / (double(md[i]) * double(0.015f));
    });
    return {{cci}, Conditions(n, [&](size_t i) {
                return std::array{cci[i] < -100, cci[i] > 100, cci[i] > 0};
            })};
}

// Bar 0 takes UP = ABS = CLOSE / 10.
inline Output Rsi(const Series& params, const Series& close) {
    const size_t n = close.size();
    const auto change = [&](size_t i) { return double(close[i]) - close[i - 1]; };
    const Series up = PerBar(n, [&](size_t i) {
        return i == 0 ? close[0] / 10.0 : change(i) > 0 ? change(i) : 0.0;
    });
    const Series abs = PerBar(n, [&](size_t i) { return i == 0 ? close[0] / 10.0 : std::fabs(change(i)); });
    Output out;
    for (int k = 0; k < 3; ++k) {
        const Series a = SMA(up, Period(params[k]), 1), b = SMA(abs, Period(params[k]), 1);
        out.lines.push_back(PerBar(n, [&](size_t i) { return double(a[i]) / b[i] * 100.0; }));
    }
    const Series &r1 = out.lines[0], &r2 = out.lines[1], &r3 = out.lines[2];
    out.conditions = Conditions(n, [&](size_t i) {
        return std::array{r1[i] > r2[i], r2[i] > r3[i], 20 <= r1[i] && r1[i] <= 80};
    });
    return out;
}

// The width (second parameter) is used as it is, not as a period.
inline Output Boll(const Series& params, const Series& close) {
    const size_t n = close.size();
    const Series mid = MA(close, Period(params[0])), s = STD(close, Period(params[0]));
    const Series upper = PerBar(n, [&](size_t i) { return double(mid[i]) + double(params[1]) * s[i]; });
    const Series lower = PerBar(n, [&](size_t i) { return double(mid[i]) - double(params[1]) * s[i]; });
    return {{upper, mid, lower}, Conditions(n, [&](size_t i) {
                return std::array{close[i] > upper[i], close[i] > mid[i], close[i] < lower[i]};
            })};
}

}  // namespace reference
