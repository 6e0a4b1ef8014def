#pragma once
// Indicator generators: one per technical indicator, each computing its output
// lines and its 0/1 condition series for the current stock. The data center
// owns the generators and calls Generate() whenever its series change; the
// condition series of all seven are the inputs of every trading formula.
#include <memory>
#include <vector>

using Series = std::vector<float>;

// The data center's adjusted series a generator reads. Generators never see
// the displayed series, so their outputs do not depend on how candles are shown.
struct IndicatorInput {
    const Series& close;
    const Series& high;
    const Series& low;
    const Series& volume;
};

class CIndicatorDataGenerator {
public:
    virtual ~CIndicatorDataGenerator() = default;

    // The indicator's key text: "MA", "VOL", "MACD", "KDJ", "CCI", "RSI", "BOLL".
    virtual const char* GetName() const = 0;
    // Recomputes `lines` and `conditions` from the adjusted series.
    virtual void Generate(const IndicatorInput& input) = 0;

    Series params;                  // periods (used truncated toward zero), width factor
    std::vector<Series> lines;      // output lines in the indicator's fixed order
    std::vector<Series> conditions; // 0/1 series in the indicator's fixed order
};

// The seven generators in the data center's order, each with its default
// parameters: MA, VOL, MACD, KDJ, CCI, RSI, BOLL.
std::vector<std::unique_ptr<CIndicatorDataGenerator>> CreateIndicatorGenerators();
