#pragma once
// Builds one XML reply in a single pass into a caller's buffer, reused from
// reply to reply so a large reply costs no fresh allocation: the declaration
// (encoding "gb2312", the text being GBK bytes), a root element, then
// elements written in document order. Values are escaped; numbers are
// written in plain decimal form (never an exponent), the shortest text that
// reads back as the same value.
#include <cstdint>
#include <string>
#include <string_view>

namespace server {

// Longest text FormatDecimal writes: fixed notation of any finite double.
inline constexpr size_t kMaxDecimalLength = 330;

// Writes `value` in fixed notation, the shortest text that reads back as the
// same double (what std::to_chars with chars_format::fixed writes), -0 as 0.
// Returns the length.
size_t FormatDecimal(char* out, double value);

class XmlReply {
public:
    // Writes into `buffer`, whose earlier content is dropped.
    XmlReply(std::string& buffer, std::string_view root);

    void Open(std::string_view name);
    void Close(std::string_view name);
    void Text(std::string_view name, std::string_view value);
    void Int(std::string_view name, int64_t value);
    void Number(std::string_view name, double value);

    // Closes the root element; the reply stays in the buffer.
    std::string_view Finish();

private:
    // Room for `n` more bytes at the end of the reply. Inline: a large reply
    // asks for room about twenty times per record.
    char* Room(size_t n) {
        if (used_ + n > out_.size()) Grow(n);
        return out_.data() + used_;
    }
    void Grow(size_t n);
    void Put(std::string_view text);
    void PutEscaped(std::string_view text);

    std::string_view root_;
    std::string& out_;  // out_.size() is the room to write in, used_ the reply
    size_t used_ = 0;
};

}  // namespace server
