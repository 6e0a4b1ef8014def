#include "sync/record_check.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <ctime>

namespace {

// The field's value when it is present and a float holds it.
std::optional<double> FloatValue(const std::optional<std::string>& field) {
    if (!field) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const double x = std::strtod(field->c_str(), &end);
    if (end == field->c_str() || errno == ERANGE || !std::isfinite(x) || std::fabs(x) > FLT_MAX) return std::nullopt;
    return x;
}

// The field as a whole yyyymmdd date of the calendar.
std::optional<int64_t> DateValue(const std::optional<std::string>& field) {
    const std::optional<double> x = FloatValue(field);
    // The range first: a float beyond int64_t has no integer value to check.
    if (!x || *x < 0 || *x > 99991231 || *x != std::floor(*x) || !IsCalendarDate(static_cast<int64_t>(*x)))
        return std::nullopt;
    return static_cast<int64_t>(*x);
}

bool IsLeapYear(int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

}  // namespace

bool IsCalendarDate(int64_t yyyymmdd) {
    const int64_t year = yyyymmdd / 10000;
    const int64_t month = yyyymmdd / 100 % 100;
    const int64_t day = yyyymmdd % 100;
    if (year < 1900 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return day <= kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

bool IsPossibleBar(const RecordFields& f, int32_t latestDate) {
    const std::optional<int64_t> date = DateValue(f[0]);
    if (!date || *date > latestDate) return false;
    for (size_t i = 1; i <= 4; ++i) {
        const std::optional<double> price = FloatValue(f[i]);
        if (!price || *price <= 0) return false;
    }
    if (*FloatValue(f[2]) < *FloatValue(f[3])) return false;  // high below low
    if (!f[5]) return true;  // the volume may be NULL
    const std::optional<double> volume = FloatValue(f[5]);
    return volume && *volume >= 0;
}

bool IsPossibleDividend(const RecordFields& f) {
    if (!DateValue(f[0])) return false;
    for (size_t i = 1; i < f.size(); ++i) {
        const std::optional<double> figure = FloatValue(f[i]);
        if (!figure || *figure < 0) return false;
    }
    return true;
}

int32_t LatestBarDate() {
    const std::time_t tomorrow = std::time(nullptr) + 24 * 60 * 60;
    std::tm local{};
    localtime_r(&tomorrow, &local);
    return (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
}
