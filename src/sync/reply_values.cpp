#include "sync/reply_values.h"

#include "text/parse.h"

namespace {

std::string_view TrimSqlBlanks(std::string_view field) {
    const char* sqlBlanks = " \t\n\f\r";
    const size_t first = field.find_first_not_of(sqlBlanks);
    if (first == std::string_view::npos) return {};
    return field.substr(first, field.find_last_not_of(sqlBlanks) - first + 1);
}

}  // namespace

std::optional<std::string_view> BareNumber(std::string_view field) {
    const std::string_view s = TrimSqlBlanks(field);
    if (!text::IsDecimalLiteral(s)) return std::nullopt;
    return s;
}

bool IsNullKeyword(std::string_view field) {
    const std::string_view s = TrimSqlBlanks(field);
    if (s.size() != 4) return false;
    for (size_t i = 0; i < 4; ++i)
        if ((s[i] | 0x20) != "null"[i]) return false;
    return true;
}
