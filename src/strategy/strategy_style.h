#pragma once
// The strategy styles of the time-range page: presets of the trade band,
// search depth, days and maximum loss.
#include "datastore/run_parameters.h"
#include "datastore/settings.h"

// Applies a style preset (the time-range page's style menu). Nothing at all
// happens when `style` is the style already applied. Styles 0 to 3 set the
// trade band, search depth, days and maximum loss from their table; style 4
// (custom) reads them from `settings` with its own fallbacks (10, 20, 10,
// 960, 0.1; missing names read as empty text). Every other style changes
// only `style` and the charges, which every style reads afresh from
// BUY_CHARGE and SELL_CHARGE (fallbacks 0.001 and 0.002).
void SetStrategyStyle(RunParameters& params, StrategyStyle style, const SettingsMap& settings);

// The style menu's texts: "自动选择", "短线偏好", "中线偏好", "长线偏好",
// "自定义" (UTF-8); empty for any other value.
const char* StrategyStyleName(StrategyStyle style);
