#include "server/http_listener.h"

#include <array>
#include <atomic>
#include <boost/asio/dispatch.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/strand.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "server/connection_limits.h"

namespace server {
namespace {

namespace net = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = net::ip::tcp;

constexpr int kBacklog = 4096;
constexpr size_t kHeaderLimit = 16 * 1024;
constexpr uint64_t kBodyLimit = 64 * 1024;
constexpr int kRequestsPerConnection = 5;
// Refusals in flight; beyond them a connection is closed without a word.
constexpr int kMaxRefusals = 256;
// How long a closing connection may still send what we will not read.
constexpr auto kLingerTime = std::chrono::seconds(1);
// After the process ran out of file descriptors, the pause before the
// next accept (accepting at once would fail again in a busy loop).
constexpr auto kAcceptPause = std::chrono::milliseconds(50);

// The status line and headers, in the form and order the server has always
// used, so replies stay byte for byte what clients know.
std::string ReplyHead(int status, const std::string& content_type, size_t body_size,
                      bool keep_alive) {
    std::string head = "HTTP/1.1 " + std::to_string(status) + " ";
    const auto reason = http::obsolete_reason(http::int_to_status(static_cast<unsigned>(status)));
    head.append(reason.data(), reason.size());
    head += "\r\n";
    if (!keep_alive) head += "Connection: close\r\n";
    head += "Content-Length: " + std::to_string(body_size) + "\r\n";
    if (!content_type.empty()) head += "Content-Type: " + content_type + "\r\n";
    if (keep_alive) head += "Keep-Alive: timeout=5, max=5\r\n";
    if (status == 503) head += "Retry-After: 5\r\n";
    head += "\r\n";
    return head;
}

HttpReply PlainReply(int status, std::string text) {
    const bool empty = text.empty();
    return {status, empty ? "" : "text/plain", std::make_shared<const std::string>(std::move(text))};
}

}  // namespace

struct HttpListener::State {
    State(const ServerLimits& l, RequestHandler h, AccessLog a)
        : limits(l),
          handler(std::move(h)),
          log(std::move(a)),
          connections(l.max_connections, l.max_per_address) {}

    void Accept();
    void OnAccept(beast::error_code error, tcp::socket socket);
    void Log(const std::string& address, std::string_view request, int status, size_t size) {
        if (log) log(address, request, status, size);
    }

    const ServerLimits limits;
    const RequestHandler handler;
    const AccessLog log;
    // Declared before the io_context: connections still queued in it give
    // their slots back while it is destroyed.
    ConnectionLimits connections;
    std::atomic<int> refusals{0};
    std::atomic<bool> stop_requested{false};
    net::io_context io;
    tcp::acceptor acceptor{io};
    net::steady_timer accept_pause{io};
};

namespace {

// One connection: requests read and answered in turn, on the connection's
// own strand. A connection without a slot is refused: it gets a 503 reply
// and is closed.
class Connection : public std::enable_shared_from_this<Connection> {
public:
    Connection(HttpListener::State& state, tcp::socket socket,
               std::optional<ConnectionLimits::Slot> slot, std::string address)
        : state_(state),
          stream_(std::move(socket)),
          slot_(std::move(slot)),
          address_(std::move(address)) {
        if (!slot_) ++state_.refusals;
    }
    ~Connection() {
        if (!slot_) --state_.refusals;
    }

    void Serve() {
        net::dispatch(stream_.get_executor(), [self = shared_from_this()] { self->Read(); });
    }

    void Refuse(const char* reason) {
        net::dispatch(stream_.get_executor(), [self = shared_from_this(), reason] {
            self->stream_.expires_after(kLingerTime);
            self->Send(PlainReply(503, reason), false, "-");
        });
    }

private:
    void Read() {
        parser_.emplace();
        parser_->header_limit(kHeaderLimit);
        parser_->body_limit(kBodyLimit);
        // One deadline for the whole request and its reply, however the
        // client spreads its bytes.
        stream_.expires_after(state_.limits.timeout);
        http::async_read(stream_, buffer_, *parser_,
                         beast::bind_front_handler(&Connection::OnRead, shared_from_this()));
    }

    void OnRead(beast::error_code error, size_t) {
        if (error == beast::error::timeout) {
            // Idle between requests is the client's right; a request begun
            // and not finished, or a connection that never sent one, is not.
            if (served_ == 0 || parser_->got_some() || buffer_.size() > 0)
                state_.Log(address_, "-", 408, 0);
            return;
        }
        // The client went away, at a request's start or in its middle.
        if (error == http::error::end_of_stream || error == http::error::partial_message) return;
        if (error == http::error::body_limit) return Send(PlainReply(413, ""), false, "-");
        // Any other error of the parser: not a request we can read.
        if (error.category() == http::make_error_code(http::error::bad_target).category())
            return Send(PlainReply(400, ""), false, "-");
        if (error) return;

        const auto& message = parser_->get();
        HttpRequest request;
        request.method = std::string(message.method_string());
        request.target = std::string(message.target());
        request.host = std::string(message[http::field::host]);
        request.remote_address = address_;
        SplitTarget(request);
        HttpReply reply;
        try {
            reply = state_.handler(request);
        } catch (const std::exception& e) {
            reply = PlainReply(500, std::string(e.what()) + "\n");
        }
        head_only_ = message.method() == http::verb::head;
        const bool keep_alive = message.keep_alive() && ++served_ < kRequestsPerConnection &&
                                !state_.stop_requested;
        Send(std::move(reply), keep_alive, request.method + " " + request.target);
    }

    void Send(HttpReply reply, bool keep_alive, const std::string& request) {
        body_ = std::move(reply.body);
        const size_t size = body_ ? body_->size() : 0;
        state_.Log(address_, request, reply.status, size);
        head_ = ReplyHead(reply.status, reply.content_type, size, keep_alive);
        const std::array<net::const_buffer, 2> buffers{
            net::buffer(head_),
            head_only_ || !body_ ? net::const_buffer() : net::buffer(*body_)};
        net::async_write(stream_, buffers,
                         [self = shared_from_this(), keep_alive](beast::error_code error, size_t) {
                             if (error) return;
                             self->body_.reset();
                             if (keep_alive)
                                 self->Read();
                             else
                                 self->Linger();
                         });
    }

    // Closing with unread input would reset the connection, and the client
    // could lose the reply still on its way: end our side, then read and
    // drop what the client still sends, for a moment.
    void Linger() {
        beast::error_code ignored;
        stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
        stream_.expires_after(kLingerTime);
        Drain();
    }
    void Drain() {
        stream_.async_read_some(net::buffer(drain_),
                                [self = shared_from_this()](beast::error_code error, size_t) {
                                    if (!error) self->Drain();
                                });
    }

    HttpListener::State& state_;
    beast::tcp_stream stream_;
    const std::optional<ConnectionLimits::Slot> slot_;
    const std::string address_;
    beast::flat_buffer buffer_;
    std::optional<http::request_parser<http::string_body>> parser_;
    std::string head_;
    std::shared_ptr<const std::string> body_;
    bool head_only_ = false;
    int served_ = 0;
    std::array<char, 4096> drain_;
};

}  // namespace

void HttpListener::State::Accept() {
    acceptor.async_accept(net::make_strand(io), [this](beast::error_code error, tcp::socket socket) {
        OnAccept(error, std::move(socket));
    });
}

void HttpListener::State::OnAccept(beast::error_code error, tcp::socket socket) {
    if (error == net::error::operation_aborted || !acceptor.is_open()) return;
    if (error) {
        // Out of descriptors or memory: the pending connection stays in the
        // backlog; try again shortly.
        accept_pause.expires_after(kAcceptPause);
        accept_pause.async_wait([this](beast::error_code e) {
            if (!e) Accept();
        });
        return;
    }
    beast::error_code ignored;
    const tcp::endpoint peer = socket.remote_endpoint(ignored);
    if (!ignored) {
        socket.set_option(tcp::no_delay(true), ignored);
        const std::string address = peer.address().to_string();
        ConnectionLimits::Admission admission = connections.Admit(address);
        if (admission.slot) {
            std::make_shared<Connection>(*this, std::move(socket), std::move(admission.slot), address)
                ->Serve();
        } else if (refusals < kMaxRefusals) {
            std::make_shared<Connection>(*this, std::move(socket), std::nullopt, address)
                ->Refuse(admission.refusal);
        }
    }
    Accept();
}

HttpListener::HttpListener(const ServerLimits& limits, RequestHandler handler, AccessLog log)
    : state_(std::make_unique<State>(limits, std::move(handler), std::move(log))) {}

HttpListener::~HttpListener() = default;

int HttpListener::Bind(const std::string& host, int port) {
    beast::error_code error;
    tcp::resolver resolver(state_->io);
    const auto found = resolver.resolve(host, std::to_string(port),
                                        tcp::resolver::passive | tcp::resolver::numeric_service,
                                        error);
    if (error || found.empty()) throw std::runtime_error(error ? error.message() : "no address");
    const tcp::endpoint endpoint = found.begin()->endpoint();
    tcp::acceptor& acceptor = state_->acceptor;
    // SO_REUSEADDR lets a restarted server bind at once; no SO_REUSEPORT, so
    // a second server cannot silently share the port and split the requests.
    acceptor.open(endpoint.protocol(), error);
    if (!error) acceptor.set_option(tcp::acceptor::reuse_address(true), error);
    if (!error) acceptor.bind(endpoint, error);
    if (!error) acceptor.listen(kBacklog, error);
    if (!error) return acceptor.local_endpoint().port();
    beast::error_code ignored;
    acceptor.close(ignored);
    throw std::runtime_error(error.message());
}

bool HttpListener::Run() {
    if (state_->stop_requested) return true;
    if (!state_->acceptor.is_open()) return false;
    state_->Accept();
    const int threads = state_->limits.threads > 0
                            ? state_->limits.threads
                            : std::max(4, static_cast<int>(std::thread::hardware_concurrency()));
    const auto run = [this] {
        // A handler that throws would end this thread's share of the work;
        // report it and go on serving.
        for (;;) {
            try {
                state_->io.run();
                return;
            } catch (const std::exception& e) {
                std::fprintf(stderr, "korvel-server: %s\n", e.what());
            }
        }
    };
    std::vector<std::thread> pool;
    for (int i = 1; i < threads; ++i) pool.emplace_back(run);
    run();
    for (auto& thread : pool) thread.join();
    return true;
}

void HttpListener::Stop() {
    state_->stop_requested = true;
    // io_context::stop is sticky: a Run that starts later returns at once.
    state_->io.stop();
}

}  // namespace server
