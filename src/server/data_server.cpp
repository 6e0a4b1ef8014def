#include "server/data_server.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <stdexcept>
#include <thread>

#include "server/request_params.h"
#include "text/format.h"

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

using RequestedReply = DataServer::RequestedReply;

// Cache keys: the endpoint, then the parameters that determine the reply,
// space-separated (no parameter value that gets this far holds a space).
RequestedReply CodeReply(const httplib::Request& request) {
    CheckClientParams(request);
    const int after = IntParam(request, "pdate");
    return {text::Format("code %d", after),
            [after](Replies& replies) { return replies.Codes(after); }};
}

// daily.php and divid.php: one stock's records in a date range.
using RangeReply = std::string_view (Replies::*)(std::string_view, std::string_view, int, int);

DataServer::Endpoint RangeEndpoint(const char* name, RangeReply reply) {
    return [name, reply](const httplib::Request& request) -> RequestedReply {
        CheckClientParams(request);
        const std::string market = KeyParam(request, "mrkt");
        const std::string code = KeyParam(request, "stck");
        const int first = IntParam(request, "frst");
        const int last = IntParam(request, "last");
        return {text::Format("%s %s %s %d %d", name, market.c_str(), code.c_str(), first, last),
                [=](Replies& replies) { return (replies.*reply)(market, code, first, last); }};
    };
}

RequestedReply PoolReply(const httplib::Request& request) {
    CheckClientParams(request);
    const std::string model = KeyParam(request, "modl");
    return {"pool " + model, [model](Replies& replies) { return replies.Pool(model); }};
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

DataServer::DataServer(const std::filesystem::path& data_dir, bool access_log, size_t cache_bytes)
    : pool_(data_dir), cache_(data_dir, cache_bytes) {
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
    // login.php is small and names the host the request reached: never cached.
    Route(R"(/login\.php)", [this](const httplib::Request& request) -> RequestedReply {
        CheckClientParams(request);
        return {"", [host = OwnHost(request)](Replies& replies) { return replies.Login(host); }};
    });
    Route(R"(/code\.php)", CodeReply);
    Route(R"(/daily\.php)", RangeEndpoint("daily", &Replies::Daily));
    Route(R"(/divid\.php)", RangeEndpoint("divid", &Replies::Dividends));
    Route(R"(/pool\.php)", PoolReply);
}

void DataServer::Route(const char* pattern, Endpoint endpoint) {
    http_.Get(pattern, [this, endpoint = std::move(endpoint)](const httplib::Request& request,
                                                              httplib::Response& response) {
        try {
            Answer(endpoint(request), response);
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

void DataServer::Answer(const RequestedReply& reply, httplib::Response& response) {
    // The lookup comes first: a reply built after it reads data at least as
    // new as the generation it returns.
    const ReplyCache::Lookup cached =
        reply.key.empty() ? ReplyCache::Lookup{} : cache_.Find(reply.key);
    if (cached.body) {
        response.set_content(*cached.body, kXmlType);
        return;
    }
    const ReplyPool::Lease replies = pool_.Borrow();
    const std::string_view body = reply.build(*replies);
    response.set_content(body.data(), body.size(), kXmlType);
    if (!reply.key.empty() && cache_.capacity() > 0)
        cache_.Add(reply.key, cached.generation, std::make_shared<const std::string>(body));
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
    if (bound_.port == 0)
        throw std::runtime_error("cannot listen on " + FormatAddress(address) +
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
