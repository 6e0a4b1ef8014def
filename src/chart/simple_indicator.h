#pragma once
// The series functions the indicator generators are built from. Each takes a
// series x of n bars (index 0 the oldest) and returns a new series of n bars.
// Arithmetic runs in double precision from the stored single-precision values
// and every element is rounded to single precision once, when stored, so the
// results are reproducible bit for bit (the condition series depend on them).
//
// Below, N is `period` and M is `weight`. A period below 1 gives all zeros;
// the generators' periods are never below 1 in practice.
#include "chart/indicator_generator.h"

class CSimpleIndicator {
public:
    CSimpleIndicator() = delete;

    // Mean of x[i-N+1..i], kept as a running sum, so it drifts slightly from
    // a per-window mean; the drift is part of the output. Bars 0..N-2 are 0;
    // N > n gives all zeros.
    static Series MA(const Series& x, int period);
    // y[i] = 2*x[i]/(N+1) + (N-1)*y[i-1]/(N+1), starting from y[-1] = 0.
    // N > n gives all zeros.
    static Series EMA(const Series& x, int period);
    // y[i] = M*x[i]/N + (N-M)*y[i-1]/N, starting from y[-1] = 0.
    // N > n gives all zeros.
    static Series SMA(const Series& x, int period, int weight);
    // Largest / smallest of x[i-N+1..i], the window clipped at bar 0.
    static Series HHV(const Series& x, int period);
    static Series LLV(const Series& x, int period);
    // Mean absolute deviation / population standard deviation over the
    // window x[i-N+1..i] around the window's own mean. Bars 0..N-2 repeat
    // bar N-1; N > n gives a copy of x.
    static Series AVEDEV(const Series& x, int period);
    static Series STD(const Series& x, int period);
};
