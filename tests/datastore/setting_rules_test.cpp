#include <gtest/gtest.h>

#include "datastore/setting_rules.h"
#include "text/gbk.h"

namespace {

TEST(SettingRules, AcceptEveryRealValueAndRefuseTheRest) {
    const struct {
        const char* name;
        std::string value;
        bool accepted;
    } cases[] = {
        // Every value an empty table is given, every fallback and preset stays storable.
        {"MIN_TRADE_NUMS", "1", true},        {"MAX_TRADE_NUMS", "250", true},
        {"EVOLUTE_STEPS", "60", true},        {"EVOLUTE_DAYS", "480", true},
        {"EVOLUTE_DAYS", "1200", true},       {"EVOLUTE_STEPS", "10000", true},
        {"MAX_TRADE_LOST", "1.0", true},      {"BUY_CHARGE", "0.002", true},
        {"SELL_CHARGE", "1.5e-3", true},      {"BUY_CHARGE", "0.0999", true},
        {"HOST", "127.0.0.1:18080", true},    {"HOST", "[::1]:80", true},
        {"HOST", text::Utf8ToGbk("数据.example:80"), true},
        // Out of range, malformed, or not a number of the setting's kind.
        {"EVOLUTE_STEPS", "99999999999999999999", false},
        {"EVOLUTE_STEPS", "10001", false},    {"EVOLUTE_DAYS", "0", false},
        {"EVOLUTE_DAYS", "1201", false},      {"MAX_TRADE_NUMS", "251", false},
        {"MIN_TRADE_NUMS", "1.5", false},     {"MIN_TRADE_NUMS", "12x", false},
        {"MIN_TRADE_NUMS", " 12", false},     {"MIN_TRADE_NUMS", "", false},
        {"BUY_CHARGE", "5", false},           {"BUY_CHARGE", "0.1", false},
        {"SELL_CHARGE", "0", false},          {"SELL_CHARGE", "-0.1", false},
        {"SELL_CHARGE", "1e-50", false},      {"SELL_CHARGE", "inf", false},
        {"SELL_CHARGE", "nan", false},        {"SELL_CHARGE", "0x1p-3", false},
        {"MAX_TRADE_LOST", "1.01", false},    {"BUY_CHARGE", "1e999", false},
        {"HOST", "http://h:1", false},        {"HOST", "h:1 ", false},
        {"HOST", "h", false},                 {"HOST", "h:0", false},
        {"HOST", "h:65536", false},           {"HOST", ":80", false},
        {"HOST", "h:80/path", false},         {"HOST", "user@h:80", false},
        {"HOST", std::string(253, 'h') + ":80", false},
        // Unknown names, including another letter case.
        {"EVOLUTE_STEP", "60", false},        {"host", "h:1", false},
    };
    for (const auto& c : cases) {
        const std::string problem = SettingProblem(c.name, c.value);
        EXPECT_EQ(problem.empty(), c.accepted) << c.name << " " << c.value << ": " << problem;
        if (!c.accepted && FindSettingRule(c.name) != nullptr) {
            EXPECT_NE(problem.find(c.name), std::string::npos) << problem;
            EXPECT_NE(problem.find("'" + c.value + "'"), std::string::npos) << problem;
        }
    }
}

}  // namespace
