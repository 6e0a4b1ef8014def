#include "server/data_server.h"

#include <charconv>
#include <cstdio>
#include <ctime>
#include <stdexcept>

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

void LogRequest(const std::string& address, std::string_view request, int status,
                size_t size) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    std::fprintf(stderr, "%s %s \"%s\" %d %zu\n", stamp, address.c_str(),
                 Printable(request).c_str(), status, size);
}

HttpReply PlainReply(int status, std::string text) {
    return {status, "text/plain", std::make_shared<const std::string>(std::move(text))};
}

using RequestedReply = DataServer::RequestedReply;

// Cache keys: the endpoint, then the parameters that determine the reply,
// space-separated (no parameter value that gets this far holds a space).
RequestedReply CodeReply(const HttpRequest& request) {
    CheckClientParams(request);
    const int after = IntParam(request, "pdate");
    return {text::Format("code %d", after),
            [after](Replies& replies) { return replies.Codes(after); }};
}

// daily.php and divid.php: one stock's records in a date range.
using RangeReply = std::string_view (Replies::*)(std::string_view, std::string_view, int, int);

DataServer::Endpoint RangeEndpoint(const char* name, RangeReply reply) {
    return [name, reply](const HttpRequest& request) -> RequestedReply {
        CheckClientParams(request);
        const std::string market = KeyParam(request, "mrkt");
        const std::string code = KeyParam(request, "stck");
        const int first = IntParam(request, "frst");
        const int last = IntParam(request, "last");
        return {text::Format("%s %s %s %d %d", name, market.c_str(), code.c_str(), first, last),
                [=](Replies& replies) { return (replies.*reply)(market, code, first, last); }};
    };
}

RequestedReply PoolReply(const HttpRequest& request) {
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

DataServer::DataServer(const std::filesystem::path& data_dir, bool access_log, size_t cache_bytes,
                       const ServerLimits& limits)
    : pool_(data_dir),
      cache_(data_dir, cache_bytes),
      http_(limits, [this](const HttpRequest& request) { return Respond(request); },
            access_log ? AccessLog(LogRequest) : AccessLog()) {
    // Open one connection now, so a missing or unreadable database is
    // reported at start-up rather than on the first request.
    pool_.Borrow();
    // login.php is small and names the host the request reached: never cached.
    endpoints_["/login.php"] = [this](const HttpRequest& request) -> RequestedReply {
        CheckClientParams(request);
        return {"", [host = OwnHost(request)](Replies& replies) { return replies.Login(host); }};
    };
    endpoints_["/code.php"] = CodeReply;
    endpoints_["/daily.php"] = RangeEndpoint("daily", &Replies::Daily);
    endpoints_["/divid.php"] = RangeEndpoint("divid", &Replies::Dividends);
    endpoints_["/pool.php"] = PoolReply;
}

HttpReply DataServer::Respond(const HttpRequest& request) {
    const auto endpoint = endpoints_.find(request.path);
    if (endpoint == endpoints_.end() || (request.method != "GET" && request.method != "HEAD"))
        return PlainReply(404, "not found\n");
    try {
        return Answer(endpoint->second(request));
    } catch (const BadRequest& e) {
        return PlainReply(400, std::string(e.what()) + "\n");
    } catch (const std::exception& e) {
        // A database failure: the client sees a failed download and may
        // retry; the log shows why.
        std::fprintf(stderr, "korvel-server: %s\n", e.what());
        return PlainReply(500, std::string(e.what()) + "\n");
    }
}

HttpReply DataServer::Answer(const RequestedReply& reply) {
    // The lookup comes first: a reply built after it reads data at least as
    // new as the generation it returns.
    const ReplyCache::Lookup cached =
        reply.key.empty() ? ReplyCache::Lookup{} : cache_.Find(reply.key);
    if (cached.body) return {200, kXmlType, cached.body};
    ReplyCache::Body body;
    {
        const ReplyPool::Lease replies = pool_.Borrow();
        body = std::make_shared<const std::string>(reply.build(*replies));
    }
    if (!reply.key.empty() && cache_.capacity() > 0) cache_.Add(reply.key, cached.generation, body);
    return {200, kXmlType, std::move(body)};
}

std::string DataServer::OwnHost(const HttpRequest& request) const {
    // Listening on every interface, the address the client used is the one
    // it can reach us by again.
    if (IsWildcard(bound_.host) && !request.host.empty()) return request.host;
    return FormatAddress(bound_);
}

ListenAddress DataServer::Bind(const ListenAddress& address) {
    try {
        bound_ = address;
        bound_.port = http_.Bind(address.host, address.port);
        return bound_;
    } catch (const std::exception& e) {
        throw std::runtime_error("cannot listen on " + FormatAddress(address) + " (" + e.what() +
                                 ")");
    }
}

bool DataServer::Run() { return http_.Run(); }

void DataServer::Stop() { http_.Stop(); }

}  // namespace server
