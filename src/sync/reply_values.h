#pragma once
// Field values of a server reply on their way into the database. Every value
// is bound as a parameter, never written into the statement text. The
// inserts treat numeric fields as bare SQL numbers: a field that is not a
// plain decimal number makes its record fail rather than store text in a
// numeric column, and BareNumber says which fields pass.
#include <optional>
#include <string_view>

// The number without the SQL white space around it, when `field` is one
// plain decimal literal (optional sign, digits with an optional decimal
// point, optional exponent). Bound as text into a numeric column, it is
// stored exactly as the literal would have been. Nothing otherwise (empty
// text, words, "NULL", hexadecimal, expressions).
std::optional<std::string_view> BareNumber(std::string_view field);

// True when `field` is SQL's NULL keyword (any letter case, SQL white space
// around it): written unquoted, it stores NULL, which a column that allows
// NULL takes and a NOT NULL column refuses.
bool IsNullKeyword(std::string_view field);
