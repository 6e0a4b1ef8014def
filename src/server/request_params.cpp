#include "server/request_params.h"

#include <charconv>
#include <cstdint>

namespace server {
namespace {

bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string_view Required(const HttpRequest& request, const char* name) {
    const std::optional<std::string_view> value = request.Param(name);
    if (!value) throw BadRequest(std::string("missing parameter ") + name);
    return *value;
}

template <typename Int>
bool ParseWhole(std::string_view text, Int& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

}  // namespace

std::string KeyParam(const HttpRequest& request, const char* name) {
    std::string value(Required(request, name));
    bool ok = !value.empty() && value.size() <= 16;
    for (const char c : value) ok = ok && IsAsciiAlnum(c);
    if (!ok) throw BadRequest(std::string("parameter ") + name + " must be 1-16 letters or digits");
    return value;
}

int IntParam(const HttpRequest& request, const char* name) {
    int value = 0;
    if (!ParseWhole(Required(request, name), value))
        throw BadRequest(std::string("parameter ") + name + " must be an integer");
    return value;
}

void CheckClientParams(const HttpRequest& request) {
    if (request.Param("vrsn")) IntParam(request, "vrsn");
    uint32_t client_code = 0;
    const std::optional<std::string_view> code = request.Param("code");
    if (code && !ParseWhole(*code, client_code))
        throw BadRequest("parameter code must be an unsigned integer");
}

}  // namespace server
