#pragma once
// The data server: routes login.php, code.php, daily.php, divid.php and
// pool.php to their replies, answers bad parameters with 400 and unknown
// paths with 404, and writes one access-log line per request. HttpListener
// carries the requests (deadlines, connection limits). A reply found in the
// ReplyCache is sent as it is; otherwise the request takes a database
// connection of its own from the ReplyPool to build it.
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "server/http_listener.h"
#include "server/reply_cache.h"
#include "server/reply_pool.h"

namespace server {

struct ListenAddress {
    std::string host;
    int port = 0;
};

// "HOST:PORT" or "[IPV6]:PORT" with a port of 0 to 65535.
std::optional<ListenAddress> ParseListenAddress(std::string_view text);
std::string FormatAddress(const ListenAddress& address);

inline constexpr size_t kDefaultCacheBytes = size_t{64} << 20;

class DataServer {
public:
    // The database must already exist in `data_dir` (OpenServerDatabase).
    // Rendered replies are cached up to `cache_bytes` (0: none).
    DataServer(const std::filesystem::path& data_dir, bool access_log,
               size_t cache_bytes = kDefaultCacheBytes, const ServerLimits& limits = {});

    // Binds the listening socket; port 0 takes a free port. Returns the
    // bound address; throws std::runtime_error when the address is taken.
    ListenAddress Bind(const ListenAddress& address);
    // Serves until Stop(); false when serving could not start.
    bool Run();
    // Safe from any thread, before, during or after Run().
    void Stop();

    // A request's reply once its parameters are checked: the cache key
    // (empty: never cached) and how to build it.
    struct RequestedReply {
        std::string key;
        std::function<std::string_view(Replies&)> build;
    };
    // Checks a request's parameters (throwing BadRequest) and names its reply.
    using Endpoint = std::function<RequestedReply(const HttpRequest&)>;

    // The reply to one request (called from several threads at once).
    HttpReply Respond(const HttpRequest& request);

private:
    HttpReply Answer(const RequestedReply& reply);
    std::string OwnHost(const HttpRequest& request) const;

    ReplyPool pool_;
    ReplyCache cache_;
    std::map<std::string, Endpoint, std::less<>> endpoints_;  // by path
    ListenAddress bound_;
    HttpListener http_;
};

}  // namespace server
