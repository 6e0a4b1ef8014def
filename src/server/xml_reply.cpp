#include "server/xml_reply.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

namespace server {
namespace {

// Writes a count of ten-thousandths as a decimal without trailing zeros.
size_t FormatTenThousandths(char* out, int64_t units) {
    char* p = out;
    if (units < 0) {
        *p++ = '-';
        units = -units;
    }
    p = std::to_chars(p, p + 20, units / 10000).ptr;
    const int fraction = static_cast<int>(units % 10000);
    if (fraction != 0) {
        p[0] = '.';
        p[1] = static_cast<char>('0' + fraction / 1000);
        p[2] = static_cast<char>('0' + fraction / 100 % 10);
        p[3] = static_cast<char>('0' + fraction / 10 % 10);
        p[4] = static_cast<char>('0' + fraction % 10);
        p += 5;
        while (p[-1] == '0') --p;
    }
    return static_cast<size_t>(p - out);
}

}  // namespace

size_t FormatDecimal(char* out, double value) {
    if (value == 0 || !std::isfinite(value)) {  // -0 reads as 0; NaN is never stored
        *out = '0';
        return 1;
    }
    // Prices, volumes and per-10-share amounts nearly always have at most
    // four decimals. When the value is exactly the double nearest to such a
    // decimal it is written from an integer count, which is several times
    // faster than the general shortest-form search. Below 1e11 two of these
    // decimals are always more than one double apart, so the text is the
    // same one std::to_chars would choose.
    if (std::fabs(value) < 1e11) {
        const double scaled = value * 10000;
        const auto units = static_cast<int64_t>(scaled + (scaled < 0 ? -0.5 : 0.5));
        if (static_cast<double>(units) / 10000 == value) return FormatTenThousandths(out, units);
    }
    // Fixed notation keeps volumes like 1e12 out of exponent form, which a
    // reader taking the leading number would cut short.
    const auto result =
        std::to_chars(out, out + kMaxDecimalLength, value, std::chars_format::fixed);
    return static_cast<size_t>(result.ptr - out);
}

XmlReply::XmlReply(std::string& buffer, std::string_view root) : root_(root), out_(buffer) {
    // The buffer's whole size is room to write in; it keeps what an earlier
    // reply made it grow to.
    if (out_.size() < 4096) out_.resize(4096);
    Put("<?xml version=\"1.0\" encoding=\"gb2312\"?>\n<");
    Put(root_);
    Put(">");
}

void XmlReply::Grow(size_t n) { out_.resize(std::max(out_.size() * 2, used_ + n)); }

void XmlReply::Put(std::string_view text) {
    std::memcpy(Room(text.size()), text.data(), text.size());
    used_ += text.size();
}

void XmlReply::Open(std::string_view name) {
    char* p = Room(name.size() + 2);
    *p++ = '<';
    std::memcpy(p, name.data(), name.size());
    p[name.size()] = '>';
    used_ += name.size() + 2;
}

void XmlReply::Close(std::string_view name) {
    char* p = Room(name.size() + 3);
    *p++ = '<';
    *p++ = '/';
    std::memcpy(p, name.data(), name.size());
    p[name.size()] = '>';
    used_ += name.size() + 3;
}

void XmlReply::Text(std::string_view name, std::string_view value) {
    Open(name);
    PutEscaped(value);
    Close(name);
}

void XmlReply::Int(std::string_view name, int64_t value) {
    Open(name);
    char* p = Room(20);
    used_ += static_cast<size_t>(std::to_chars(p, p + 20, value).ptr - p);
    Close(name);
}

void XmlReply::Number(std::string_view name, double value) {
    Open(name);
    used_ += FormatDecimal(Room(kMaxDecimalLength), value);
    Close(name);
}

std::string_view XmlReply::Finish() {
    Close(root_);
    Put("\n");
    return {out_.data(), used_};
}

void XmlReply::PutEscaped(std::string_view text) {
    // GBK trail bytes are 0x40 and above, so escaping byte by byte never
    // touches a double-byte character. Control characters other than tab,
    // line feed and carriage return cannot appear in XML 1.0 at all.
    char* p = Room(text.size() * 6);
    for (const char c : text) {
        switch (c) {
            case '&':
                p = std::copy_n("&amp;", 5, p);
                break;
            case '<':
                p = std::copy_n("&lt;", 4, p);
                break;
            case '>':
                p = std::copy_n("&gt;", 4, p);
                break;
            case '"':
                p = std::copy_n("&quot;", 6, p);
                break;
            default:
                if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r')
                    *p++ = c;
        }
    }
    used_ = static_cast<size_t>(p - out_.data());
}

}  // namespace server
