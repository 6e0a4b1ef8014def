#include "text/gbk.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace text {
namespace {

size_t Utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead >> 5) == 0x6) return 2;
    if ((lead >> 4) == 0xE) return 3;
    if ((lead >> 3) == 0x1E) return 4;
    return 1;
}

// One iconv descriptor per call: conversions are short and this keeps the
// helpers thread-safe without a lock.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `in`; a sequence that cannot be converted is replaced by
    // `replacement` (already in the target encoding) and skipped: one
    // character for UTF-8 input, one byte otherwise.
    std::string Run(std::string_view in, std::string_view replacement, bool utf8_input) {
        std::string out;
        out.reserve(in.size() * 2);
        char* src = const_cast<char*>(in.data());
        size_t src_left = in.size();
        char buffer[1024];
        while (src_left > 0) {
            char* dst = buffer;
            size_t dst_left = sizeof buffer;
            const size_t rc = iconv(cd_, &src, &src_left, &dst, &dst_left);
            out.append(buffer, static_cast<size_t>(dst - buffer));
            if (rc != static_cast<size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL (truncated sequence): replace and move on.
            out.append(replacement);
            const size_t length = utf8_input ? Utf8SequenceLength(static_cast<unsigned char>(*src)) : 1;
            const size_t skip = std::min(length, src_left);
            src += skip;
            src_left -= skip;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    iconv_t cd_;
};

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
    Converter converter("UTF-8", "GB18030");
    return converter.Run(gbk, "\xEF\xBF\xBD", false);
}

std::string Utf8ToGbk(std::string_view utf8) {
    Converter converter("GBK", "UTF-8");
    return converter.Run(utf8, "?", true);
}

}  // namespace text
