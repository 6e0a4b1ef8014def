#include "server/http_request.h"

namespace server {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::string_view> HttpRequest::Param(std::string_view name) const {
    for (const auto& [key, value] : params)
        if (key == name) return value;
    return std::nullopt;
}

std::string DecodeUrl(std::string_view text, bool plus_is_space) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '%' && i + 2 < text.size()) {
            const int high = HexValue(text[i + 1]), low = HexValue(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        out += (plus_is_space && c == '+') ? ' ' : c;
    }
    return out;
}

void SplitTarget(HttpRequest& request) {
    // A fragment is the client's own business (browsers never send one).
    const std::string_view target =
        std::string_view(request.target).substr(0, request.target.find('#'));
    const size_t question = target.find('?');
    request.path = DecodeUrl(target.substr(0, question), false);
    request.params.clear();
    if (question == std::string_view::npos) return;
    std::string_view query = target.substr(question + 1);
    while (!query.empty()) {
        const size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
        if (pair.empty()) continue;
        const size_t equals = pair.find('=');
        request.params.emplace_back(
            DecodeUrl(pair.substr(0, equals), true),
            equals == std::string_view::npos ? std::string() : DecodeUrl(pair.substr(equals + 1), true));
    }
}

}  // namespace server
