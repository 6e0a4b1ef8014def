#pragma once
// What each known setting means and which values it accepts. Start-up's
// reading hides a bad stored value behind a fallback, so the places that
// store a setting (korvel-cli settings set, the settings dialog) check it
// here first and refuse it with the reason.
#include <span>
#include <string>
#include <string_view>

enum class SettingKind {
    kHost,     // HOST:PORT, put into request URLs unchanged
    kInteger,  // a whole number from `low` to `high`
    kReal,     // a number above `low` and at most `high` (below it unless `highIncluded`)
};

struct SettingRule {
    const char* name;  // APPSET ITEM
    SettingKind kind;
    double low;
    double high;
    bool highIncluded;
    const char* meaning;  // one line of English
};

// Every setting the program reads, in the order the settings dialog shows them.
std::span<const SettingRule> SettingRules();

// The rule of `name`, or nullptr for a name the program does not know.
const SettingRule* FindSettingRule(std::string_view name);

// The accepted values in words, e.g. "1 to 10000", "above 0, below 0.1 (10 %)".
std::string SettingRangeText(const SettingRule& rule);

// Why `value` (GBK, as it would be stored) may not be stored as setting
// `name`: an unknown name, a value that is not a number of the setting's
// kind, out of its range, or a HOST that is not HOST:PORT. The text names
// the setting and the value; empty when the value may be stored.
std::string SettingProblem(std::string_view name, std::string_view value);
