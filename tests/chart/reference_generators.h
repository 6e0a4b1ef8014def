#pragma once
// Reference forms of the seven indicators, one function each, computing the
// lines and condition series bar by bar from the definitions.
#include <cmath>

#include "reference_indicators.h"

namespace reference {

inline Output Ma(const Series& params, const Series& close) {
    Output out;
    for (int k = 0; k < 3; ++k) out.lines.push_back(MA(close, Period(params[k])));
    const Series &ma1 = out.lines[0], &ma2 = out.lines[1], &ma3 = out.lines[2];
    out.conditions.assign(3, Series());
    for (size_t i = 0; i < close.size(); ++i) {
        out.conditions[0].push_back(Flag(close[i] > ma1[i]));
        out.conditions[1].push_back(Flag(ma1[i] > ma2[i]));
        out.conditions[2].push_back(Flag(ma2[i] > ma3[i]));
    }
    return out;
}

inline Output Vol(const Series& params, const Series& volume) {
    Output out;
    out.lines.push_back(volume);
    for (int k = 0; k < 3; ++k) out.lines.push_back(MA(volume, Period(params[k])));
    out.conditions.assign(3, Series());
    for (size_t i = 0; i < volume.size(); ++i) {
        out.conditions[0].push_back(Flag(volume[i] > out.lines[1][i]));
        out.conditions[1].push_back(Flag(out.lines[1][i] > out.lines[2][i]));
        out.conditions[2].push_back(Flag(out.lines[2][i] > out.lines[3][i]));
    }
    return out;
}

inline Output Macd(const Series& params, const Series& close) {
    const Series e1 = EMA(close, Period(params[0]));
    const Series e2 = EMA(close, Period(params[1]));
    Series diff;
    for (size_t i = 0; i < close.size(); ++i) diff.push_back(static_cast<float>(double(e1[i]) - double(e2[i])));
    const Series dea = EMA(diff, Period(params[2]));
    Series macd;
    for (size_t i = 0; i < close.size(); ++i) macd.push_back(static_cast<float>((double(diff[i]) - double(dea[i])) * 2.0));
    Output out{{diff, dea, macd}, {Series(), Series(), Series()}};
    for (size_t i = 0; i < close.size(); ++i) {
        out.conditions[0].push_back(Flag(diff[i] > 0));
        out.conditions[1].push_back(Flag(dea[i] > 0));
        out.conditions[2].push_back(Flag(macd[i] > 0));
    }
    return out;
}

// K, D and J before clamping, for tests that look at the clamping itself.
struct RawKdj {
    Series k, d, j;
};

inline RawKdj KdjUnclamped(const Series& params, const Series& close, const Series& high, const Series& low) {
    const Series ll = LLV(low, Period(params[0]));
    const Series hh = HHV(high, Period(params[0]));
    Series rsv;
    for (size_t i = 0; i < close.size(); ++i) {
        rsv.push_back(ll[i] < hh[i] ? static_cast<float>((double(close[i]) - ll[i]) / (double(hh[i]) - ll[i]) * 100.0)
                                    : 0.0f);
    }
    RawKdj raw{SMA(rsv, Period(params[1]), 1), {}, {}};
    raw.d = SMA(raw.k, Period(params[2]), 1);
    for (size_t i = 0; i < close.size(); ++i) raw.j.push_back(static_cast<float>(3.0 * raw.k[i] - 2.0 * raw.d[i]));
    return raw;
}

inline float Clamp(float v) { return v < 0 ? 0.0f : v > 100 ? 100.0f : v; }

inline Output Kdj(const Series& params, const Series& close, const Series& high, const Series& low) {
    const RawKdj raw = KdjUnclamped(params, close, high, low);
    Output out{{Series(), Series(), Series()}, {Series(), Series(), Series()}};
    for (size_t i = 0; i < close.size(); ++i) {
        const float k = Clamp(raw.k[i]), d = Clamp(raw.d[i]), j = Clamp(raw.j[i]);
        out.lines[0].push_back(k);
        out.lines[1].push_back(d);
        out.lines[2].push_back(j);
        out.conditions[0].push_back(Flag(j <= 10 || d <= 20));
        out.conditions[1].push_back(Flag(j < 100 && d < 80));
        out.conditions[2].push_back(Flag(k >= d));
    }
    return out;
}

inline Output Cci(const Series& params, const Series& close, const Series& high, const Series& low) {
    Series tp;
    for (size_t i = 0; i < close.size(); ++i) tp.push_back(static_cast<float>((double(high[i]) + low[i] + close[i]) / 3.0));
    const Series m = MA(tp, Period(params[0]));
    const Series md = AVEDEV(tp, Period(params[0]));
    Output out{{Series()}, {Series(), Series(), Series()}};
    for (size_t i = 0; i < close.size(); ++i) {
        const float cci = static_cast<float>((double(tp[i]) - m[i]) / (double(md[i]) * double(0.015f)));
        out.lines[0].push_back(cci);
        out.conditions[0].push_back(Flag(cci < -100));
        out.conditions[1].push_back(Flag(cci > 100));
        out.conditions[2].push_back(Flag(cci > 0));
    }
    return out;
}

inline Output Rsi(const Series& params, const Series& close) {
    Series up, abs;
    for (size_t i = 0; i < close.size(); ++i) {
        if (i == 0) {
            up.push_back(static_cast<float>(close[0] / 10.0));
            abs.push_back(up[0]);
            continue;
        }
        const double d = double(close[i]) - close[i - 1];
        up.push_back(static_cast<float>(d > 0 ? d : 0.0));
        abs.push_back(static_cast<float>(std::fabs(d)));
    }
    Output out;
    for (int k = 0; k < 3; ++k) {
        const Series a = SMA(up, Period(params[k]), 1);
        const Series b = SMA(abs, Period(params[k]), 1);
        Series rsi;
        for (size_t i = 0; i < close.size(); ++i) rsi.push_back(static_cast<float>(double(a[i]) / b[i] * 100.0));
        out.lines.push_back(rsi);
    }
    out.conditions.assign(3, Series());
    const Series &r1 = out.lines[0], &r2 = out.lines[1], &r3 = out.lines[2];
    for (size_t i = 0; i < close.size(); ++i) {
        out.conditions[0].push_back(Flag(r1[i] > r2[i]));
        out.conditions[1].push_back(Flag(r2[i] > r3[i]));
        out.conditions[2].push_back(Flag(20 <= r1[i] && r1[i] <= 80));
    }
    return out;
}

inline Output Boll(const Series& params, const Series& close) {
    const Series mid = MA(close, Period(params[0]));
    const Series s = STD(close, Period(params[0]));
    Output out{{Series(), mid, Series()}, {Series(), Series(), Series()}};
    for (size_t i = 0; i < close.size(); ++i) {
        const float upper = static_cast<float>(double(mid[i]) + double(params[1]) * s[i]);
        const float lower = static_cast<float>(double(mid[i]) - double(params[1]) * s[i]);
        out.lines[0].push_back(upper);
        out.lines[2].push_back(lower);
        out.conditions[0].push_back(Flag(close[i] > upper));
        out.conditions[1].push_back(Flag(close[i] > mid[i]));
        out.conditions[2].push_back(Flag(close[i] < lower));
    }
    return out;
}

}  // namespace reference
