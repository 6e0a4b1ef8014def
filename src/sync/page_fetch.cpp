#include "sync/page_fetch.h"

#include <curl/curl.h>

#include <memory>

#include "datastore/program_version.h"

namespace {

// curl_global_init must run once before the first handle is made; a
// function-local static does that exactly once, from whichever thread
// fetches first.
class CurlLibrary {
public:
    CurlLibrary() : ready_(curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK) {}
    ~CurlLibrary() {
        if (ready_) curl_global_cleanup();
    }
    CurlLibrary(const CurlLibrary&) = delete;
    CurlLibrary& operator=(const CurlLibrary&) = delete;
    bool Ready() const { return ready_; }

private:
    bool ready_;
};

bool CurlReady() {
    static const CurlLibrary library;
    return library.Ready();
}

struct EasyCleanup {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using EasyHandle = std::unique_ptr<CURL, EasyCleanup>;

struct Body {
    std::string bytes;
    size_t maxBytes;
};

// Appends a piece of the body. A chunked reply announces no length, so the
// cap is also checked here: returning less than was handed in makes curl
// stop the transfer with an error.
size_t AppendBody(char* data, size_t size, size_t count, void* user) {
    Body& body = *static_cast<Body*>(user);
    const size_t n = size * count;
    if (n > body.maxBytes - body.bytes.size()) return 0;
    body.bytes.append(data, n);
    return n;
}

bool Configure(CURL* h, const std::string& url, const FetchLimits& limits, Body& body) {
    static const std::string userAgent = std::string("Korvel/") + version::kText;
    return curl_easy_setopt(h, CURLOPT_URL, url.c_str()) == CURLE_OK &&
           curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http") == CURLE_OK &&
           // No signals: the fetch runs on worker threads.
           curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
           // The program reads no environment variables, proxies included.
           curl_easy_setopt(h, CURLOPT_PROXY, "") == CURLE_OK &&
           curl_easy_setopt(h, CURLOPT_USERAGENT, userAgent.c_str()) == CURLE_OK &&
           curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connectTimeout.count())) ==
               CURLE_OK &&
           curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.totalTimeout.count())) == CURLE_OK &&
           // Refuses an announced oversize body before reading it.
           curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBytes)) == CURLE_OK &&
           curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, AppendBody) == CURLE_OK &&
           curl_easy_setopt(h, CURLOPT_WRITEDATA, &body) == CURLE_OK;
}

}  // namespace

std::string GetHtml(const std::string& url, const FetchLimits& limits) {
    if (!CurlReady()) return {};
    const EasyHandle handle(curl_easy_init());
    if (!handle) return {};
    Body body{{}, limits.maxBytes};
    if (!Configure(handle.get(), url, limits, body)) return {};
    if (curl_easy_perform(handle.get()) != CURLE_OK) return {};
    long status = 0;
    if (curl_easy_getinfo(handle.get(), CURLINFO_RESPONSE_CODE, &status) != CURLE_OK || status != 200) return {};
    return std::move(body.bytes);
}
