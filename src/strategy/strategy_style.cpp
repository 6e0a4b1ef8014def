#include "strategy/strategy_style.h"

namespace {

struct StylePreset {
    int32_t minTradeNums;
    int32_t maxTradeNums;
    int32_t evoluteSteps;
    int32_t evoluteDays;
    float maxTradeLost;
};

// Auto, short-term, medium-term, long-term.
constexpr StylePreset kStylePresets[] = {
    {1, 240, 10, 960, 1.0f},
    {15, 240, 10, 480, 0.08f},
    {8, 20, 10, 720, 0.15f},
    {1, 15, 10, 960, 0.2f},
};

void ApplyPreset(RunParameters& params, const StylePreset& preset) {
    params.minTradeNums = preset.minTradeNums;
    params.maxTradeNums = preset.maxTradeNums;
    params.evoluteSteps = preset.evoluteSteps;
    params.evoluteDays = preset.evoluteDays;
    params.maxTradeLost = preset.maxTradeLost;
}

// The custom style's reading; its search-depth fallback is 10 where
// start-up's is 50.
void ApplyCustomSettings(RunParameters& params, const SettingsMap& settings) {
    params.minTradeNums = IntSetting(GetSetting(settings, "MIN_TRADE_NUMS"), 10);
    params.maxTradeNums = IntSetting(GetSetting(settings, "MAX_TRADE_NUMS"), 20);
    params.evoluteSteps = IntSetting(GetSetting(settings, "EVOLUTE_STEPS"), 10);
    params.evoluteDays = IntSetting(GetSetting(settings, "EVOLUTE_DAYS"), 960);
    params.maxTradeLost = RealSetting(GetSetting(settings, "MAX_TRADE_LOST"), 0.1f);
}

}  // namespace

void SetStrategyStyle(RunParameters& params, StrategyStyle style, const SettingsMap& settings) {
    if (style == params.style) return;
    params.style = style;
    const int32_t index = static_cast<int32_t>(style);
    if (index >= 0 && index <= 3) ApplyPreset(params, kStylePresets[index]);
    else if (style == StrategyStyle::Custom) ApplyCustomSettings(params, settings);
    params.buyCharge = RealSetting(GetSetting(settings, "BUY_CHARGE"), 0.001f);
    params.sellCharge = RealSetting(GetSetting(settings, "SELL_CHARGE"), 0.002f);
}

const char* StrategyStyleName(StrategyStyle style) {
    switch (style) {
        case StrategyStyle::Auto: return "自动选择";
        case StrategyStyle::ShortTerm: return "短线偏好";
        case StrategyStyle::MediumTerm: return "中线偏好";
        case StrategyStyle::LongTerm: return "长线偏好";
        case StrategyStyle::Custom: return "自定义";
    }
    return "";
}
