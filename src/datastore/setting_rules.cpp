#include "datastore/setting_rules.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "text/format.h"

namespace {

// Bounds that still allow every real use: the data center holds at most
// 1200 bars, so no range bred on is longer; a trade band beyond 250 trades
// per 240 days cannot be met (250 is what an empty table is given); a
// search stopped after 10000 generations without improvement has long
// converged (a generation takes well under 20 ms); charges of 10 % or more
// are typing errors (real ones are below 0.3 %).
constexpr SettingRule kRules[] = {
    {"HOST", SettingKind::kHost, 0, 0, false, "the data server the client synchronises from"},
    {"MIN_TRADE_NUMS", SettingKind::kInteger, 1, 250, true, "fewest completed trades per 240 days a strategy may make"},
    {"MAX_TRADE_NUMS", SettingKind::kInteger, 1, 250, true, "most completed trades per 240 days a strategy may make"},
    {"EVOLUTE_STEPS", SettingKind::kInteger, 1, 10000, true,
     "search depth: generations without improvement that end the search"},
    {"EVOLUTE_DAYS", SettingKind::kInteger, 20, 1200, true, "trading days a strategy is bred on (the newest ones)"},
    {"MAX_TRADE_LOST", SettingKind::kReal, 0, 1, true, "largest loss of one trade, as a fraction (1 = 100 %)"},
    {"BUY_CHARGE", SettingKind::kReal, 0, 0.1, false, "buying charge, as a fraction of the amount (0.002 = 0.2 %)"},
    {"SELL_CHARGE", SettingKind::kReal, 0, 0.1, false, "selling charge, as a fraction of the amount (0.003 = 0.3 %)"},
};

constexpr size_t kMaxHostBytes = 255;

std::string Quoted(std::string_view value) { return "'" + std::string(value) + "'"; }

// A host name (letters, digits, '-', '.', '_', or non-ASCII bytes of an
// internationalised name) or a bracketed IPv6 address.
bool IsHostPart(std::string_view host) {
    if (host.empty()) return false;
    if (host.front() == '[') {
        if (host.size() < 4 || host.back() != ']') return false;
        return host.substr(1, host.size() - 2).find_first_not_of("0123456789abcdefABCDEF:.") == std::string_view::npos;
    }
    for (const char c : host) {
        const auto u = static_cast<unsigned char>(c);
        if (!(u >= 0x80 || std::isalnum(u) || c == '-' || c == '.' || c == '_')) return false;
    }
    return true;
}

bool IsPort(std::string_view port) {
    if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string_view::npos) return false;
    const long n = std::strtol(std::string(port).c_str(), nullptr, 10);
    return n >= 1 && n <= 65535;
}

std::string HostProblem(std::string_view value) {
    const size_t colon = value.rfind(':');
    if (value.size() <= kMaxHostBytes && colon != std::string_view::npos && IsHostPart(value.substr(0, colon)) &&
        IsPort(value.substr(colon + 1)))
        return "";
    return "HOST must be HOST:PORT (a host name or address, a colon and a port from 1 to 65535, nothing else), not " +
           Quoted(value);
}

// The whole of `value` as one decimal number of the rule's kind (no
// hexadecimal, "inf" or "nan" forms, no blanks).
bool ParseNumber(const SettingRule& rule, std::string_view value, double& number) {
    const char* allowed = rule.kind == SettingKind::kInteger ? "+0123456789" : "+-.0123456789eE";
    if (value.empty() || value.find_first_not_of(allowed) != std::string_view::npos) return false;
    const std::string text(value);
    char* end = nullptr;
    errno = 0;
    number = std::strtod(text.c_str(), &end);
    // Overflow is out of range, not a malformed number.
    if (errno == ERANGE && std::isinf(number)) number = HUGE_VAL;
    return *end == '\0';
}

bool InRange(const SettingRule& rule, double x) {
    if (rule.kind == SettingKind::kInteger) return x >= rule.low && x <= rule.high;
    // The value is held as a float: one too small for a float reads as zero.
    const auto held = static_cast<float>(x);
    return held > rule.low && (rule.highIncluded ? x <= rule.high : x < rule.high);
}

}  // namespace

std::span<const SettingRule> SettingRules() { return kRules; }

const SettingRule* FindSettingRule(std::string_view name) {
    for (const SettingRule& rule : kRules)
        if (name == rule.name) return &rule;
    return nullptr;
}

std::string SettingRangeText(const SettingRule& rule) {
    switch (rule.kind) {
        case SettingKind::kHost: return "HOST:PORT";
        case SettingKind::kInteger: return text::Format("%g to %g", rule.low, rule.high);
        case SettingKind::kReal:
            return text::Format("above %g, %s %g (%g %%)", rule.low, rule.highIncluded ? "at most" : "below", rule.high,
                                rule.high * 100);
    }
    return "";
}

std::string SettingProblem(std::string_view name, std::string_view value) {
    const SettingRule* rule = FindSettingRule(name);
    if (rule == nullptr) {
        std::string known;
        for (const SettingRule& r : kRules) known += (known.empty() ? "" : ", ") + std::string(r.name);
        return "unknown setting " + Quoted(name) + " (known: " + known + ")";
    }
    if (rule->kind == SettingKind::kHost) return HostProblem(value);
    double x = 0;
    const char* what = rule->kind == SettingKind::kInteger ? "a whole number" : "a number";
    if (!ParseNumber(*rule, value, x) || !InRange(*rule, x))
        return std::string(rule->name) + " must be " + what + ", " + SettingRangeText(*rule) + ", not " + Quoted(value);
    return "";
}
