#include "server/request_params.h"

#include <charconv>
#include <cstdint>

namespace server {
namespace {

bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string Required(const httplib::Request& request, const char* name) {
    if (!request.has_param(name)) throw BadRequest(std::string("missing parameter ") + name);
    return request.get_param_value(name);
}

template <typename Int>
bool ParseWhole(const std::string& text, Int& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

}  // namespace

std::string KeyParam(const httplib::Request& request, const char* name) {
    std::string value = Required(request, name);
    bool ok = !value.empty() && value.size() <= 16;
    for (const char c : value) ok = ok && IsAsciiAlnum(c);
    if (!ok) throw BadRequest(std::string("parameter ") + name + " must be 1-16 letters or digits");
    return value;
}

int IntParam(const httplib::Request& request, const char* name) {
    int value = 0;
    if (!ParseWhole(Required(request, name), value))
        throw BadRequest(std::string("parameter ") + name + " must be an integer");
    return value;
}

void CheckClientParams(const httplib::Request& request) {
    if (request.has_param("vrsn")) IntParam(request, "vrsn");
    uint32_t client_code = 0;
    if (request.has_param("code") && !ParseWhole(request.get_param_value("code"), client_code))
        throw BadRequest("parameter code must be an unsigned integer");
}

}  // namespace server
