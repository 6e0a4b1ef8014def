#pragma once
// The HTTP transport of korvel-server (Boost.Beast on Boost.Asio): accepts
// connections, reads each request under a deadline, hands it to a handler
// and writes the reply. Asynchronous, so a slow or idle connection holds a
// socket and a little memory but no thread; a few threads serve every
// connection.
//
// Limits, so that slow or many clients cannot starve the rest:
// - every request must arrive whole and its reply be taken within
//   `timeout` of the moment the server starts waiting for it (the whole
//   request, not each read); otherwise the connection is closed;
// - at most `max_connections` connections in all and `max_per_address`
//   from one client address; a connection beyond either gets a 503 reply
//   at once and is closed;
// - a listen backlog of 4096 (the kernel caps it at net.core.somaxconn), so
//   a burst of new connections waits in the queue instead of being dropped
//   and retried a second later;
// - request headers up to 16 KB, bodies (never used) up to 64 KB, at most
//   five requests per connection.
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "server/http_request.h"

namespace server {

struct ServerLimits {
    int max_connections = 4096;  // 0: no limit
    int max_per_address = 256;   // 0: no limit
    std::chrono::milliseconds timeout{10000};
    int threads = 0;  // 0: the hardware threads, at least 4
};

struct HttpReply {
    int status = 200;
    std::string content_type;  // empty: none (an empty body)
    std::shared_ptr<const std::string> body;  // null: empty
};

using RequestHandler = std::function<HttpReply(const HttpRequest&)>;
// One line of the access log: the client, "METHOD TARGET" ("-" for a
// connection refused or timed out before a whole request came), the status
// and the body's size.
using AccessLog = std::function<void(const std::string& address, std::string_view request,
                                     int status, size_t body_size)>;

class HttpListener {
public:
    // `log` may be empty. `handler` is called from several threads at once.
    HttpListener(const ServerLimits& limits, RequestHandler handler, AccessLog log);
    ~HttpListener();
    HttpListener(const HttpListener&) = delete;
    HttpListener& operator=(const HttpListener&) = delete;

    // Binds and listens (host name or address; port 0 takes a free port);
    // returns the port. Throws std::runtime_error when that fails.
    int Bind(const std::string& host, int port);
    // Serves until Stop(); false when nothing was bound.
    bool Run();
    // Safe from any thread, before, during or after Run().
    void Stop();

    struct State;  // the Asio objects, kept out of this header

private:
    std::unique_ptr<State> state_;
};

}  // namespace server
