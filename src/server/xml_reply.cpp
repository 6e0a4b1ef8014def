#include "server/xml_reply.h"

#include <charconv>
#include <system_error>

namespace server {

XmlReply::XmlReply(std::string_view root, size_t size_hint) : root_(root) {
    out_.reserve(size_hint);
    out_ += "<?xml version=\"1.0\" encoding=\"gb2312\"?>\n<";
    out_ += root_;
    out_ += '>';
}

void XmlReply::Open(std::string_view name) {
    out_ += '<';
    out_ += name;
    out_ += '>';
}

void XmlReply::Close(std::string_view name) {
    out_ += "</";
    out_ += name;
    out_ += '>';
}

void XmlReply::Text(std::string_view name, std::string_view value) {
    Open(name);
    AppendEscaped(value);
    Close(name);
}

void XmlReply::Int(std::string_view name, int64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    Open(name);
    out_.append(buffer, result.ptr);
    Close(name);
}

void XmlReply::Number(std::string_view name, double value) {
    // Fixed notation keeps volumes like 60000000000 out of exponent form,
    // which a reader taking the leading number would cut short.
    char buffer[512];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (value == 0 || result.ec != std::errc()) {  // -0 reads as 0; NaN never gets stored
        buffer[0] = '0';
        result.ptr = buffer + 1;
    }
    Open(name);
    out_.append(buffer, result.ptr);
    Close(name);
}

std::string XmlReply::Finish() {
    Close(root_);
    out_ += '\n';
    return std::move(out_);
}

void XmlReply::AppendEscaped(std::string_view value) {
    // GBK trail bytes are 0x40 and above, so escaping byte by byte never
    // touches a double-byte character. Control characters other than tab,
    // line feed and carriage return cannot appear in XML 1.0 at all.
    for (const char c : value) {
        switch (c) {
            case '&': out_ += "&amp;"; break;
            case '<': out_ += "&lt;"; break;
            case '>': out_ += "&gt;"; break;
            case '"': out_ += "&quot;"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') break;
                out_ += c;
        }
    }
}

}  // namespace server
