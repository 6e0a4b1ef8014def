#include "sync/reply_values.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Skips a run of digits from `i`; returns how many there were.
size_t SkipDigits(std::string_view s, size_t& i) {
    const size_t start = i;
    while (i < s.size() && IsDigit(s[i])) ++i;
    return i - start;
}

std::string_view TrimSqlBlanks(std::string_view field) {
    const char* sqlBlanks = " \t\n\f\r";
    const size_t first = field.find_first_not_of(sqlBlanks);
    if (first == std::string_view::npos) return {};
    return field.substr(first, field.find_last_not_of(sqlBlanks) - first + 1);
}

}  // namespace

std::optional<std::string_view> BareNumber(std::string_view field) {
    const std::string_view s = TrimSqlBlanks(field);
    if (s.empty()) return std::nullopt;

    size_t i = 0;
    if (s[i] == '+' || s[i] == '-') ++i;
    size_t digits = SkipDigits(s, i);
    if (i < s.size() && s[i] == '.') {
        ++i;
        digits += SkipDigits(s, i);
    }
    if (digits == 0) return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        if (SkipDigits(s, i) == 0) return std::nullopt;
    }
    if (i != s.size()) return std::nullopt;
    return s;
}

bool IsNullKeyword(std::string_view field) {
    const std::string_view s = TrimSqlBlanks(field);
    if (s.size() != 4) return false;
    for (size_t i = 0; i < 4; ++i)
        if ((s[i] | 0x20) != "null"[i]) return false;
    return true;
}
