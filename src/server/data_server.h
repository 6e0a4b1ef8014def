#pragma once
// The HTTP side of korvel-server: routes login.php, code.php, daily.php,
// divid.php and pool.php to their replies, answers bad parameters with 400
// and unknown paths with 404, and writes one access-log line per request.
// Requests are served by cpp-httplib's thread pool; each takes a database
// connection of its own from the ReplyPool for the length of the request.
#include <httplib.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "server/reply_pool.h"

namespace server {

struct ListenAddress {
    std::string host;
    int port = 0;
};

// "HOST:PORT" or "[IPV6]:PORT" with a port of 0 to 65535.
std::optional<ListenAddress> ParseListenAddress(std::string_view text);
std::string FormatAddress(const ListenAddress& address);

class DataServer {
public:
    // The database must already exist in `data_dir` (OpenServerDatabase).
    DataServer(const std::filesystem::path& data_dir, bool access_log);

    // Binds the listening socket; port 0 takes a free port. Returns the
    // bound address; throws std::runtime_error when the address is taken.
    ListenAddress Bind(const ListenAddress& address);
    // Serves until Stop(); false when serving could not start.
    bool Run();
    // Safe from any thread, before, during or after Run().
    void Stop();

private:
    using ReplyFunction = std::function<std::string_view(Replies&, const httplib::Request&)>;
    void Route(const char* pattern, ReplyFunction reply);
    std::string OwnHost(const httplib::Request& request) const;

    ReplyPool pool_;
    httplib::Server http_;
    ListenAddress bound_;
    std::atomic<bool> stop_requested_{false};
    std::atomic<bool> finished_{false};
};

}  // namespace server
