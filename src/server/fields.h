#pragma once
// Strict checks of imported fields: the whole field must be the value, so a
// shifted column or a stray character makes the record fail instead of
// storing a wrong number.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace server {

// A calendar date yyyymmdd from 19000101 to 29991231.
std::optional<int> ParseDate(std::string_view field);
// Decimal digits with an optional leading "-".
std::optional<int64_t> ParseInteger(std::string_view field);
// A finite decimal number ("12", "-0.5", "1e3"); no hexadecimal, inf or nan.
std::optional<double> ParseNumber(std::string_view field);
// A market, stock code or model key: 1 to 16 ASCII letters or digits.
bool IsKey(std::string_view field);
// UTF-8 text converted to GBK; nullopt when it is not valid UTF-8, holds a
// character GBK lacks, or holds a control character.
std::optional<std::string> ToGbkText(std::string_view utf8);

// A field quoted for a message: "text", cut after 80 bytes (at a character
// boundary) with its length, so a huge bad field does not flood the log.
std::string Quoted(std::string_view field);

// Today's local date as yyyymmdd.
int Today();

}  // namespace server

namespace server {

// Reads the fields of one CSV record by column, remembering the first field
// that does not fit; the record is stored only when error() is empty.
class FieldReader {
public:
    // `header` names the columns for the messages ("date,open,...").
    FieldReader(const std::vector<std::string>& fields, std::string_view header);

    int Date(size_t column);
    int64_t Integer(size_t column);
    double Number(size_t column);
    // A number that must not be negative.
    double Amount(size_t column);
    std::string Key(size_t column);
    std::string Text(size_t column);  // converted to GBK

    const std::string& error() const { return error_; }

private:
    const std::string& Field(size_t column) const { return fields_[column]; }
    void Fail(size_t column, const char* what);

    const std::vector<std::string>& fields_;
    std::string_view header_;
    std::string error_;
};

}  // namespace server
