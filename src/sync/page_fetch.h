#pragma once
// The page fetch every server request goes through: one blocking HTTP GET
// with no headers, cookies, redirects or retries. Only a complete reply with
// status 200 gives text; every failure (no connection, another status, a
// time-out, a body over the size cap) gives empty text, which the callers
// read as "the server cannot be reached".
//
// Thread-safety: each call uses a handle of its own, so workers may fetch at
// the same time.
#include <chrono>
#include <cstddef>
#include <string>

struct FetchLimits {
    // Connecting gives up after this long (an address nobody answers).
    std::chrono::milliseconds connectTimeout{5000};
    // The whole request, connecting included, gives up after this long, so
    // an unreachable or stalled server fails well within 15 seconds.
    std::chrono::milliseconds totalTimeout{12000};
    // A longer body is a failure, never cut short: a truncated reply could
    // still be well-formed XML and would silently lose records.
    size_t maxBytes = 2097152;
};

// The body of `url` as received (GBK bytes stay GBK bytes), or empty text.
std::string GetHtml(const std::string& url, const FetchLimits& limits = {});
