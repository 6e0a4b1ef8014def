#include "server/fields.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>

#include "text/gbk.h"

namespace server {
namespace {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

std::optional<int> ParseDate(std::string_view field) {
    if (field.size() != 8) return std::nullopt;
    const std::optional<int64_t> value = ParseInteger(field);
    if (!value) return std::nullopt;
    const int date = static_cast<int>(*value);
    const int year = date / 10000, month = date / 100 % 100, day = date % 100;
    if (year < 1900 || year > 2999 || month < 1 || month > 12) return std::nullopt;
    if (day < 1 || day > DaysInMonth(year, month)) return std::nullopt;
    return date;
}

std::optional<int64_t> ParseInteger(std::string_view field) {
    int64_t value = 0;
    const char* end = field.data() + field.size();
    const auto result = std::from_chars(field.data(), end, value);
    if (field.empty() || result.ec != std::errc() || result.ptr != end) return std::nullopt;
    return value;
}

std::optional<double> ParseNumber(std::string_view field) {
    // from_chars would take "inf" and "nan"; only digits, sign, point and
    // exponent make a number here.
    if (field.empty() || field.find_first_not_of("0123456789+-.eE") != std::string_view::npos)
        return std::nullopt;
    double value = 0;
    const char* end = field.data() + field.size();
    const auto result = std::from_chars(field.data(), end, value);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

bool IsKey(std::string_view field) {
    if (field.empty() || field.size() > 16) return false;
    return std::all_of(field.begin(), field.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    });
}

std::optional<std::string> ToGbkText(std::string_view utf8) {
    if (std::any_of(utf8.begin(), utf8.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }))
        return std::nullopt;
    std::string gbk = text::Utf8ToGbk(utf8);
    // The converter writes "?" for what it cannot convert: more question
    // marks out than in means something was lost.
    if (std::count(gbk.begin(), gbk.end(), '?') != std::count(utf8.begin(), utf8.end(), '?'))
        return std::nullopt;
    return gbk;
}

int Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
}

}  // namespace server

namespace server {

FieldReader::FieldReader(const std::vector<std::string>& fields, std::string_view header)
    : fields_(fields), header_(header) {}

void FieldReader::Fail(size_t column, const char* what) {
    if (!error_.empty()) return;
    // The column's name is the column-th comma-separated word of the header.
    std::string_view name = header_;
    for (size_t i = 0; i < column; ++i)
        name.remove_prefix(std::min(name.size(), name.find(',') + 1));
    name = name.substr(0, name.find(','));
    error_ = std::string(name) + " " + what + ": " + Quoted(Field(column));
}

std::string Quoted(std::string_view field) {
    constexpr size_t kMostBytes = 80;
    if (field.size() <= kMostBytes) return "\"" + std::string(field) + "\"";
    // Cut before a UTF-8 continuation byte never splits a character.
    size_t cut = kMostBytes;
    while (cut > 0 && (static_cast<unsigned char>(field[cut]) & 0xC0) == 0x80) --cut;
    return "\"" + std::string(field.substr(0, cut)) + "...\" (" + std::to_string(field.size()) +
           " bytes)";
}

int FieldReader::Date(size_t column) {
    const std::optional<int> value = ParseDate(Field(column));
    if (!value) Fail(column, "is not a date yyyymmdd");
    return value.value_or(0);
}

int64_t FieldReader::Integer(size_t column) {
    const std::optional<int64_t> value = ParseInteger(Field(column));
    if (!value || *value < INT32_MIN || *value > INT32_MAX) Fail(column, "is not an integer");
    return value.value_or(0);
}

double FieldReader::Number(size_t column) {
    const std::optional<double> value = ParseNumber(Field(column));
    if (!value) Fail(column, "is not a number");
    return value.value_or(0);
}

double FieldReader::Amount(size_t column) {
    const double value = Number(column);
    if (value < 0) Fail(column, "is negative");
    return value;
}

std::string FieldReader::Key(size_t column) {
    if (!IsKey(Field(column))) Fail(column, "is not 1-16 letters or digits");
    return Field(column);
}

std::string FieldReader::Text(size_t column) {
    std::optional<std::string> gbk = ToGbkText(Field(column));
    if (!gbk) Fail(column, "is not text GBK can hold");
    return gbk.value_or(std::string());
}

}  // namespace server
