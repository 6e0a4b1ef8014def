#include "server/data_server.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <stdexcept>
#include <thread>

#include "server/request_params.h"

namespace server {
namespace {

constexpr const char* kXmlType = "text/xml; charset=gb2312";

bool IsWildcard(const std::string& host) {
    return host == "0.0.0.0" || host == "::" || host.empty();
}

// Request targets come from the network: keep the log line one printable line.
std::string Printable(std::string_view text) {
    std::string out(text.substr(0, 512));
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return out;
}

void LogRequest(const httplib::Request& request, const httplib::Response& response) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    std::fprintf(stderr, "%s %s \"%s %s\" %d %zu\n", stamp, request.remote_addr.c_str(),
                 Printable(request.method).c_str(), Printable(request.target).c_str(),
                 response.status, response.body.size());
}

std::string_view CodeReply(Replies& replies, const httplib::Request& request) {
    CheckClientParams(request);
    return replies.Codes(IntParam(request, "pdate"));
}

std::string_view DailyReply(Replies& replies, const httplib::Request& request) {
    CheckClientParams(request);
    return replies.Daily(KeyParam(request, "mrkt"), KeyParam(request, "stck"),
                         IntParam(request, "frst"), IntParam(request, "last"));
}

std::string_view DividendReply(Replies& replies, const httplib::Request& request) {
    CheckClientParams(request);
    return replies.Dividends(KeyParam(request, "mrkt"), KeyParam(request, "stck"),
                             IntParam(request, "frst"), IntParam(request, "last"));
}

std::string_view PoolReply(Replies& replies, const httplib::Request& request) {
    CheckClientParams(request);
    return replies.Pool(KeyParam(request, "modl"));
}

}  // namespace

std::string FormatAddress(const ListenAddress& address) {
    const bool v6 = address.host.find(':') != std::string::npos;
    return (v6 ? "[" + address.host + "]" : address.host) + ":" + std::to_string(address.port);
}

std::optional<ListenAddress> ParseListenAddress(std::string_view text) {
    const size_t colon = text.rfind(':');
    if (colon == std::string_view::npos || colon == 0) return std::nullopt;
    std::string_view host = text.substr(0, colon);
    if (host.front() == '[') {
        if (host.size() < 3 || host.back() != ']') return std::nullopt;
        host = host.substr(1, host.size() - 2);
    }
    const std::string_view port_text = text.substr(colon + 1);
    int port = -1;
    const auto result =
        std::from_chars(port_text.data(), port_text.data() + port_text.size(), port);
    if (port_text.empty() || result.ec != std::errc() ||
        result.ptr != port_text.data() + port_text.size() || port < 0 || port > 65535)
        return std::nullopt;
    return ListenAddress{std::string(host), port};
}

DataServer::DataServer(const std::filesystem::path& data_dir, bool access_log) : pool_(data_dir) {
    // Open one connection now, so a missing or unreadable database is
    // reported at start-up rather than on the first request.
    pool_.Borrow();
    // SO_REUSEADDR lets a restarted server bind at once; cpp-httplib's
    // default SO_REUSEPORT would also let a second server share the port
    // silently, splitting the requests between the two.
    http_.set_socket_options([](socket_t sock) {
        const int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    if (access_log) http_.set_logger(LogRequest);
    http_.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (response.body.empty() && response.status == 404)
            response.set_content("not found\n", "text/plain");
    });
    Route(R"(/login\.php)",
          [this](Replies& replies, const httplib::Request& request) -> std::string_view {
              CheckClientParams(request);
              return replies.Login(OwnHost(request));
          });
    Route(R"(/code\.php)", CodeReply);
    Route(R"(/daily\.php)", DailyReply);
    Route(R"(/divid\.php)", DividendReply);
    Route(R"(/pool\.php)", PoolReply);
}

void DataServer::Route(const char* pattern, ReplyFunction reply) {
    http_.Get(pattern, [this, reply = std::move(reply)](const httplib::Request& request,
                                                        httplib::Response& response) {
        try {
            const ReplyPool::Lease replies = pool_.Borrow();
            const std::string_view body = reply(*replies, request);
            response.set_content(body.data(), body.size(), kXmlType);
        } catch (const BadRequest& e) {
            response.status = 400;
            response.set_content(std::string(e.what()) + "\n", "text/plain");
        } catch (const std::exception& e) {
            // A database failure: the client sees a failed download and may
            // retry; the log shows why.
            response.status = 500;
            response.set_content(std::string(e.what()) + "\n", "text/plain");
            std::fprintf(stderr, "korvel-server: %s\n", e.what());
        }
    });
}

std::string DataServer::OwnHost(const httplib::Request& request) const {
    // Listening on every interface, the address the client used is the one
    // it can reach us by again.
    if (IsWildcard(bound_.host) && request.has_header("Host"))
        return request.get_header_value("Host");
    return FormatAddress(bound_);
}

ListenAddress DataServer::Bind(const ListenAddress& address) {
    bound_ = address;
    if (address.port == 0) {
        bound_.port = http_.bind_to_any_port(address.host);
        if (bound_.port < 0) bound_.port = 0;
    } else if (!http_.bind_to_port(address.host, address.port)) {
        bound_.port = 0;
    }
    if (bound_.port == 0) throw std::runtime_error("cannot listen on " + FormatAddress(address) +
                                 " (address in use or not available)");
    return bound_;
}

bool DataServer::Run() {
    const bool ok = stop_requested_ || http_.listen_after_bind();
    finished_ = true;
    return ok;
}

void DataServer::Stop() {
    stop_requested_ = true;
    // httplib's stop() does nothing until the accept loop runs; a stop that
    // comes in between binding and serving waits for it.
    while (!finished_ && !http_.is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    http_.stop();
}

}  // namespace server
