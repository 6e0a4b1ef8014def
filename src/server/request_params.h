#pragma once
// Checks of the query parameters of the client's requests. A missing or
// malformed parameter throws BadRequest, which the server answers with 400.
#include <stdexcept>
#include <string>

#include "server/http_request.h"

namespace server {

class BadRequest : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A market, stock code or model key: 1 to 16 ASCII letters or digits.
std::string KeyParam(const HttpRequest& request, const char* name);

// A date or other signed 32-bit decimal integer ("-" allowed, nothing else).
int IntParam(const HttpRequest& request, const char* name);

// vrsn (program version) and code (client code, unsigned 32-bit) identify
// the client; both are optional but must be integers when given.
void CheckClientParams(const HttpRequest& request);

}  // namespace server
