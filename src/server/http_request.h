#pragma once
// A client's request as the data server sees it, independent of the HTTP
// library that read it: the method, the target split into a decoded path and
// decoded query parameters, the Host header and the client's address.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace server {

struct HttpRequest {
    std::string method;
    std::string target;  // as sent, for the access log
    std::string path;    // decoded
    std::vector<std::pair<std::string, std::string>> params;  // decoded, in order
    std::string host;            // the Host header, empty when absent
    std::string remote_address;  // the client's IP address

    // The first value given for `name`; nullopt when the parameter is absent.
    std::optional<std::string_view> Param(std::string_view name) const;
};

// %XX escapes decoded (a malformed escape stays as it is); with
// `plus_is_space`, as in a query, '+' becomes a blank.
std::string DecodeUrl(std::string_view text, bool plus_is_space);

// Fills `path` and `params` from `target` ("/path?key=value&key=value#frag"):
// the fragment is dropped, the query starts at the first '?', pairs are separated by '&', a pair without
// '=' has an empty value and empty pairs are ignored.
void SplitTarget(HttpRequest& request);

}  // namespace server
