#pragma once
// Leading-number parsing as the program reads numbers from the database, the
// server and files: leading blanks are skipped, parsing stops at the first
// character that does not fit, and text without a number gives 0.
#include <cstdint>
#include <string_view>

namespace text {

// Optional sign and decimal digits. Values beyond the 32-bit range saturate.
int32_t ParseInt(std::string_view s);
int64_t ParseInt64(std::string_view s);

// Optional sign, digits, a decimal point and an exponent. Hexadecimal,
// "inf" and "nan" forms are not numbers here and give 0.
double ParseReal(std::string_view s);

// True when `s` is exactly one plain decimal literal as SQL reads one:
// optional sign, digits with an optional decimal point, optional exponent;
// no blanks, no hexadecimal, no "inf" or "nan". Bound as text into a numeric
// column, such a literal is stored exactly as it would be written unquoted.
bool IsDecimalLiteral(std::string_view s);

}  // namespace text
