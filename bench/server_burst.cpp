// korvel-server under bursts of clients: 200 clients connect at the same
// moment, each makes one request on a new connection, ten bursts in a row,
// the requests mixed as clients' syncs mix them (status, stock list, the
// incremental and the two-year daily ranges, dividends, pools, and one whole
// history in twenty) over the bundled data. The server runs in process as
// `serve` runs it (default limits, 64 MB cache); the clients are one
// asynchronous thread, so the figures are the server's, not 200 client
// threads' scheduling. A listen backlog too small for the burst shows as
// latencies of a second and more (a dropped SYN is sent again after one
// second). Counters: errors (no reply within 10 s, or not 200), p50_ms,
// p99_ms, max_ms, req_per_s.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core.hpp>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "temp_server.h"

namespace {

namespace net = boost::asio;
namespace beast = boost::beast;
using tcp = net::ip::tcp;
using Clock = std::chrono::steady_clock;

constexpr int kClients = 200;
constexpr int kBursts = 10;
constexpr auto kGiveUp = std::chrono::seconds(10);

// The bundled data imported into a fresh folder and served for the whole run.
void ImportBundledData(Database& db, const std::filesystem::path&) {
    const std::filesystem::path source = std::filesystem::path(KORVEL_SOURCE_DIR) / "data";
    const server::ImportLog& quiet = bench_support::kQuietImport;
    server::ImportStocksCsv(db, source / "stocks.csv", 20240101, quiet);
    server::ImportDailyCsv(db, source / "daily", quiet);
    server::ImportDividendCsv(db, source / "dividend.csv", quiet);
    server::ImportPoolModels(db, source / "pool_models.csv", quiet);
    server::ImportPools(db, source / "pools.csv", quiet);
}

// One client: connect, send the request, read until the server closes
// (the request says "Connection: close"), close. The reply is checked for a
// 200 status line and otherwise dropped unparsed, so the client's cost stays
// small beside the server's.
class Client : public std::enable_shared_from_this<Client> {
public:
    Client(net::io_context& io, const std::string& target, double& latency_ms, int& ok,
           const std::function<void()>& done)
        : done_(done),
          socket_(io),
          request_("GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n"),
          latency_ms_(latency_ms),
          ok_(ok) {}
    void Start(const tcp::endpoint& server) {
        start_ = Clock::now();
        socket_.async_connect(server, [self = shared_from_this()](beast::error_code e) {
            if (e) return self->Done();
            net::async_write(self->socket_, net::buffer(self->request_),
                             [self](beast::error_code e, size_t) {
                                 if (e) return self->Done();
                                 self->Read();
                             });
        });
    }

private:
    void Read() {
        socket_.async_read_some(net::buffer(chunk_), [self = shared_from_this()](beast::error_code e,
                                                                                   size_t n) {
            if (self->status_.size() < 13) self->status_.append(self->chunk_.data(), std::min<size_t>(n, 13));
            if (e) return self->Done();
            self->Read();
        });
    }
    void Done() {
        latency_ms_ = std::chrono::duration<double, std::milli>(Clock::now() - start_).count();
        ok_ = status_.rfind("HTTP/1.1 200 ", 0) == 0;
        done_();
    }

    const std::function<void()>& done_;
    tcp::socket socket_;
    const std::string request_;
    std::array<char, 65536> chunk_;
    std::string status_;
    Clock::time_point start_;
    double& latency_ms_;
    int& ok_;
};

void BM_Burst200Mixed(benchmark::State& state) {
    static bench_support::TempServer fixture(ImportBundledData);
    const tcp::endpoint server(net::ip::make_address("127.0.0.1"),
                               static_cast<unsigned short>(fixture.port()));
    const std::string daily = "/daily.php?vrsn=1106&code=1&stck=";
    const std::vector<std::string> mix = {
        "/login.php?vrsn=1106&code=1&from=1",
        "/code.php?vrsn=1106&code=1&pdate=20240101",
        daily + "600000&mrkt=SS&frst=20220114&last=99999999",
        daily + "600036&mrkt=SS&frst=20200101&last=20211231",
        "/divid.php?vrsn=1106&code=1&mrkt=SZ&stck=000002&frst=0&last=99999999",
        "/pool.php?vrsn=1106&code=1&modl=vpool",
    };
    std::vector<double> latencies;
    int errors = 0;
    double seconds = 0;
    for (auto _ : state) {
        for (int burst = 0; burst < kBursts; ++burst) {
            net::io_context io;
            // A request without its reply after kGiveUp counts as an error
            // with that latency.
            std::vector<double> latency(kClients, std::chrono::duration<double, std::milli>(kGiveUp).count());
            std::vector<int> ok(kClients);
            net::steady_timer give_up(io, kGiveUp);
            give_up.async_wait([&](beast::error_code e) {
                if (!e) io.stop();
            });
            int waiting = kClients;
            const std::function<void()> done = [&] {
                if (--waiting == 0) give_up.cancel();
            };
            const auto start = Clock::now();
            for (int c = 0; c < kClients; ++c) {
                const std::string& target =
                    c % 20 == 19 ? daily + "600000&mrkt=SS&frst=0&last=99999999" : mix[c % mix.size()];
                std::make_shared<Client>(io, target, latency[c], ok[c], done)
                    ->Start(server);
            }
            io.run();
            seconds += std::chrono::duration<double>(Clock::now() - start).count();
            latencies.insert(latencies.end(), latency.begin(), latency.end());
            errors += static_cast<int>(std::count(ok.begin(), ok.end(), 0));
        }
    }
    std::sort(latencies.begin(), latencies.end());
    const auto percentile = [&](double p) {
        return latencies[static_cast<size_t>(p * static_cast<double>(latencies.size() - 1))];
    };
    state.counters["errors"] = errors;
    state.counters["p50_ms"] = percentile(0.50);
    state.counters["p99_ms"] = percentile(0.99);
    state.counters["max_ms"] = latencies.back();
    state.counters["req_per_s"] = static_cast<double>(latencies.size()) / seconds;
}

}  // namespace

BENCHMARK(BM_Burst200Mixed)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
