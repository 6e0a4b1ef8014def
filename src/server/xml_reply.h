#pragma once
// Builds one XML reply in a single pass into one string: the declaration
// (encoding "gb2312", the text being GBK bytes), a root element, then
// elements written in document order. Values are escaped; numbers are
// written in plain decimal form (never an exponent), the shortest text that
// reads back as the same value.
#include <cstdint>
#include <string>
#include <string_view>

namespace server {

class XmlReply {
public:
    // `size_hint` reserves room for the expected reply size.
    explicit XmlReply(std::string_view root, size_t size_hint = 256);

    void Open(std::string_view name);
    void Close(std::string_view name);
    void Text(std::string_view name, std::string_view value);
    void Int(std::string_view name, int64_t value);
    void Number(std::string_view name, double value);

    // Closes the root element and hands over the reply.
    std::string Finish();

private:
    void AppendEscaped(std::string_view value);
    std::string root_;
    std::string out_;
};

}  // namespace server
