#include "text/parse.h"

#include <cctype>
#include <cstdlib>
#include <limits>
#include <string>

namespace text {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

size_t SkipBlanks(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    return i;
}

}  // namespace

int64_t ParseInt64(std::string_view s) {
    size_t i = SkipBlanks(s);
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    // Accumulate as a negative number so INT64_MIN is reachable.
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    int64_t value = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i) {
        const int digit = s[i] - '0';
        if (value < (kMin + digit) / 10) {
            value = kMin;
            while (i < s.size() && IsDigit(s[i])) ++i;
            break;
        }
        value = value * 10 - digit;
    }
    if (negative) return value;
    return value == kMin ? std::numeric_limits<int64_t>::max() : -value;
}

int32_t ParseInt(std::string_view s) {
    const int64_t v = ParseInt64(s);
    if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

double ParseReal(std::string_view s) {
    // Find the longest prefix of the form [blanks][sign]digits[.digits][e[sign]digits]
    // and hand exactly that to strtod, so hex/inf/nan never reach it.
    size_t i = SkipBlanks(s);
    const size_t start = i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return 0.0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j])) ++j;
            i = j;
        }
    }
    const std::string number(s.substr(start, i - start));
    return std::strtod(number.c_str(), nullptr);
}

bool IsDecimalLiteral(std::string_view s) {
    size_t i = 0;
    const auto skipDigits = [&] {
        const size_t start = i;
        while (i < s.size() && IsDigit(s[i])) ++i;
        return i - start;
    };
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t digits = skipDigits();
    if (i < s.size() && s[i] == '.') {
        ++i;
        digits += skipDigits();
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        if (skipDigits() == 0) return false;
    }
    return i == s.size();
}

}  // namespace text
