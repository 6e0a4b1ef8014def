// korvel-server under hostile load, as a process on loopback: slow clients
// that never finish a request, the per-request deadline and the connection
// limits with their 503 refusals.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "server_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;

// A raw client connection from a chosen loopback address (all of 127/8
// reaches the server, so tests can play several client hosts).
class RawClient {
public:
    RawClient(int port, const char* from = "127.0.0.1") : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in local{AF_INET, 0, {}, {}}, server{AF_INET, htons(port), {}, {}};
        inet_pton(AF_INET, from, &local.sin_addr);
        inet_pton(AF_INET, "127.0.0.1", &server.sin_addr);
        connected_ = bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0 &&
                     connect(fd_, reinterpret_cast<sockaddr*>(&server), sizeof server) == 0;
    }
    ~RawClient() { close(fd_); }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    bool connected() const { return connected_; }
    bool Send(const std::string& bytes) {
        return send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
    }
    // What arrives until the server closes or `wait` passes (0: what has arrived).
    std::string Receive(std::chrono::milliseconds wait) {
        std::string got;
        const auto end = Clock::now() + wait;
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
            pollfd p{fd_, POLLIN, 0};
            if (left.count() < 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) return got;
            char buffer[4096];
            const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
            if (n <= 0) return got + "<closed>";
            got.append(buffer, static_cast<size_t>(n));
        }
    }

private:
    int fd_;
    bool connected_ = false;
};

std::string Request(const std::string& target) {
    return "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
}

using ServerLoadTest = server_test::ServerTest;

TEST_F(ServerLoadTest, FiftySlowClientsDoNotDelayANormalRequest) {
    Start();
    // Each slow client starts a request and adds a header line every 200 ms,
    // as a slow-loris attack does, for the whole test.
    std::vector<std::unique_ptr<RawClient>> slow;
    for (int i = 0; i < 50; ++i) {
        slow.push_back(std::make_unique<RawClient>(server_->port()));
        ASSERT_TRUE(slow.back()->Send("GET /login.php HTTP/1.1\r\n"));
    }
    std::atomic<bool> done{false};
    std::thread drip([&] {
        while (!done) {
            for (auto& client : slow) client->Send("X-Slow: 1\r\n");
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(500));

    RawClient normal(server_->port());
    const auto start = Clock::now();
    ASSERT_TRUE(normal.Send(Request("/login.php?from=1")));
    const std::string reply = normal.Receive(std::chrono::seconds(5));
    const auto elapsed = Clock::now() - start;
    // Every slow client is still connected and has had no reply.
    size_t still_open = 0;
    for (auto& client : slow) still_open += client->Receive(std::chrono::milliseconds(0)).empty();
    done = true;
    drip.join();
    EXPECT_EQ(reply.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << reply;
    EXPECT_LT(elapsed, std::chrono::seconds(1));
    EXPECT_EQ(still_open, slow.size());
}

TEST_F(ServerLoadTest, ARequestMustArriveWholeWithinTheDeadline) {
    Start({"--timeout", "1"});
    // Timed from before the connection, so a test thread that is slow to run
    // cannot make the server's deadline look early.
    const auto start = Clock::now();
    RawClient slow(server_->port());
    RawClient silent(server_->port());  // never sends a byte: late as well
    ASSERT_TRUE(slow.Send("GET /login.php HTTP/1.1\r\n"));
    // A header line every 100 ms keeps each read short but never ends the
    // request: the connection is closed once the whole request is late.
    std::string got;
    while (got.empty() && Clock::now() - start < std::chrono::seconds(20)) {
        slow.Send("X-Slow: 1\r\n");
        got = slow.Receive(std::chrono::milliseconds(100));
    }
    const auto elapsed = Clock::now() - start;
    EXPECT_EQ(got, "<closed>");  // a deadline per read would never close it
    EXPECT_GT(elapsed, std::chrono::milliseconds(900));
    EXPECT_LT(elapsed, std::chrono::seconds(10));  // generous: a loaded machine may be late
    EXPECT_EQ(silent.Receive(std::chrono::seconds(10)), "<closed>");
    server_->Stop();  // the log line may follow the close
    const std::string log = Log();
    const std::string late = "127.0.0.1 \"-\" 408 0";
    EXPECT_NE(log.find(late), log.rfind(late)) << log;  // one for each connection
}

TEST_F(ServerLoadTest, ConnectionsBeyondTheLimitsAreRefusedWith503) {
    Start({"--per-client", "2", "--max-connections", "4"});
    // Idle connections from several client addresses, in order; each row
    // says what a request on that connection gets.
    struct Case {
        const char* from;
        const char* reply;  // the start of the reply; "" for none yet (held)
    };
    const Case cases[] = {
        {"127.0.0.1", ""},
        {"127.0.0.1", ""},
        {"127.0.0.1", "HTTP/1.1 503 Service Unavailable\r\nConnection: close\r\n"},
        {"127.0.0.2", ""},
        {"127.0.0.3", ""},
        {"127.0.0.4", "HTTP/1.1 503 Service Unavailable\r\nConnection: close\r\n"},
    };
    std::vector<std::unique_ptr<RawClient>> held;
    for (const Case& c : cases) {
        auto client = std::make_unique<RawClient>(server_->port(), c.from);
        ASSERT_TRUE(client->connected()) << c.from;
        const std::string reply = client->Receive(std::chrono::milliseconds(300));
        EXPECT_EQ(reply.substr(0, std::string(c.reply).size()), c.reply) << c.from;
        if (*c.reply == '\0') held.push_back(std::move(client));
    }
    const std::string log = Log();
    EXPECT_NE(log.find("127.0.0.1 \"-\" 503"), std::string::npos) << log;
    EXPECT_NE(log.find("127.0.0.4 \"-\" 503"), std::string::npos) << log;

    // A held connection is served normally, and its slot is free again after.
    ASSERT_TRUE(held[0]->Send(Request("/login.php?from=1")));
    EXPECT_EQ(held[0]->Receive(std::chrono::seconds(5)).rfind("HTTP/1.1 200 OK", 0), 0u);
    held.erase(held.begin());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    RawClient later(server_->port(), "127.0.0.5");
    ASSERT_TRUE(later.Send(Request("/login.php?from=1")));
    EXPECT_EQ(later.Receive(std::chrono::seconds(5)).rfind("HTTP/1.1 200 OK", 0), 0u);
}

}  // namespace
