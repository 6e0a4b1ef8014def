#include "datastore/run_parameters.h"

#include "text/parse.h"

int32_t IntSetting(const std::string& value, int32_t fallback) {
    const int32_t n = text::ParseInt(value);
    return n < 1 ? fallback : n;
}

float RealSetting(const std::string& value, float fallback) {
    // The check applies to the float actually held, so a value too small for
    // a float counts as zero.
    const float x = static_cast<float>(text::ParseReal(value));
    return x > 0.0f ? x : fallback;
}

void ApplyStartupSettings(RunParameters& params, SettingsMap& settings) {
    params.minTradeNums = IntSetting(settings["MIN_TRADE_NUMS"], 10);
    params.maxTradeNums = IntSetting(settings["MAX_TRADE_NUMS"], 20);
    params.evoluteSteps = IntSetting(settings["EVOLUTE_STEPS"], 50);
    params.evoluteDays = IntSetting(settings["EVOLUTE_DAYS"], 960);
    params.maxTradeLost = RealSetting(settings["MAX_TRADE_LOST"], 0.1f);
    params.buyCharge = RealSetting(settings["BUY_CHARGE"], 0.001f);
    params.sellCharge = RealSetting(settings["SELL_CHARGE"], 0.002f);
}
