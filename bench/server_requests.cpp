// Throughput and latency of korvel-server on loopback: 8 concurrent clients
// (200 in the burst),
// each opening a new connection per request as the program's page fetch
// does. daily.php runs against a 5000-bar history (the first 5000 bars of the
// bundled SS 600000), code.php against a 5000-stock list. The server caches
// replies as `serve` does (64 MB): "warm" runs repeat one request, so all but
// the first are served from the cache; "cold" runs give every request its
// own cache key (another frst or pdate before any data, same reply), so each
// is built from the database and offered to the cache. Counters: req_per_s
// over all clients, p50_ms and p99_ms per request, reply_kb.
#include <benchmark/benchmark.h>
#include <httplib.h>
#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "server/data_server.h"
#include "server/importers.h"
#include "server/replies.h"
#include "server/server_database.h"

namespace {

constexpr int kClients = 8;
constexpr int kBars = 5000;
constexpr int kStocks = 5000;

// A data folder with the two fixtures and a server on an ephemeral port,
// alive for the whole benchmark run.
class Fixture {
public:
    Fixture() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "korvel-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        dir_ = pattern;
        Fill();
        server_ = std::make_unique<server::DataServer>(dir_, false);
        port_ = server_->Bind({"127.0.0.1", 0}).port;
        thread_ = std::thread([this] { server_->Run(); });
    }
    ~Fixture() {
        server_->Stop();
        thread_.join();
        server_.reset();
        std::filesystem::remove_all(dir_);
    }

    int port() const { return port_; }
    int newest_date() const { return newest_date_; }
    const std::filesystem::path& dir() const { return dir_; }

private:
    void Fill() {
        Database db = server::OpenServerDatabase(dir_);
        const server::ImportLog quiet{[](const std::string& p) { throw std::runtime_error(p); },
                                      [](const std::string&) {}};
        // 5000 real bars.
        std::ifstream in(std::filesystem::path(KORVEL_SOURCE_DIR) / "data/daily/SS_600000.csv");
        std::ofstream bars(dir_ / "SS_600000.csv");
        std::string line;
        for (int i = 0; i <= kBars && std::getline(in, line); ++i) {
            bars << line << '\n';
            if (i > 0) newest_date_ = std::stoi(line);
        }
        bars.close();
        server::ImportDailyCsv(db, dir_ / "SS_600000.csv", quiet);

        // 5000 stocks with four-character Chinese names.
        const char* syllables[] = {"浦", "发", "银", "行", "招", "商", "平", "安", "万", "科"};
        std::ofstream stocks(dir_ / "stocks.csv");
        stocks << "market,code,name,pinyin,type\n";
        for (int i = 0; i < kStocks; ++i) {
            stocks << (i % 2 ? "SZ," : "SS,") << 600000 + i << ',';
            for (int k = 0, n = i; k < 4; ++k, n /= 10) stocks << syllables[n % 10];
            stocks << ",PFYH,1\n";
        }
        stocks.close();
        server::ImportStocksCsv(db, dir_ / "stocks.csv", 20240101, quiet);
    }

    std::filesystem::path dir_;
    std::unique_ptr<server::DataServer> server_;
    std::thread thread_;
    int port_ = 0;
    int newest_date_ = 0;
};

Fixture& TheFixture() {
    static Fixture fixture;
    return fixture;
}

// Runs `requests` requests per client from `client_count` threads per
// iteration, all started together; `target` gives each request's target
// from a number counting all requests. Failed requests (no reply or not
// 200) are counted as errors.
void Load(benchmark::State& state, const std::function<std::string(int)>& target, int requests,
          int client_count = kClients) {
    Fixture& fixture = TheFixture();
    std::vector<double> latencies;
    double seconds = 0;
    size_t reply_bytes = 0;
    std::atomic<int> sent{0}, errors{0};
    for (auto _ : state) {
        std::vector<std::vector<double>> per_client(client_count);
        std::vector<std::thread> clients;
        std::atomic<int> ready{0};
        const auto start = std::chrono::steady_clock::now();
        for (int c = 0; c < client_count; ++c) {
            clients.emplace_back([&, c] {
                for (++ready; ready < client_count;) std::this_thread::yield();
                for (int i = 0; i < requests; ++i) {
                    const std::string path = target(sent++);
                    httplib::Client client("127.0.0.1", fixture.port());
                    const auto begin = std::chrono::steady_clock::now();
                    const auto result = client.Get(path, {{"Accept-Encoding", "identity"}});
                    const auto end = std::chrono::steady_clock::now();
                    if (!result || result->status != 200) {
                        ++errors;
                        continue;
                    }
                    if (c == 0 && i == 0) reply_bytes = result->body.size();
                    per_client[c].push_back(
                        std::chrono::duration<double, std::milli>(end - begin).count());
                }
            });
        }
        for (auto& client : clients) client.join();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        for (const auto& l : per_client) latencies.insert(latencies.end(), l.begin(), l.end());
    }
    std::sort(latencies.begin(), latencies.end());
    const auto percentile = [&](double p) {
        return latencies[static_cast<size_t>(p * (latencies.size() - 1))];
    };
    state.counters["req_per_s"] = static_cast<double>(latencies.size()) / seconds;
    state.counters["p50_ms"] = percentile(0.50);
    state.counters["p99_ms"] = percentile(0.99);
    state.counters["reply_kb"] = static_cast<double>(reply_bytes) / 1024;
    state.counters["errors"] = errors;
}

// The same target for every request.
std::function<std::string(int)> Always(const std::string& target) {
    return [target](int) { return target; };
}

const std::string kDaily = "/daily.php?vrsn=1106&code=1&mrkt=SS&stck=600000";

void BM_DailyWholeHistoryCold(benchmark::State& state) {
    Load(
        state, [](int n) { return kDaily + "&frst=" + std::to_string(-n) + "&last=99999999"; },
        100);
}

void BM_DailyWholeHistoryWarm(benchmark::State& state) {
    Load(state, Always(kDaily + "&frst=0&last=99999999"), 250);
}

// The view's first download of a stock: two calendar years.
void BM_DailyTwoYears(benchmark::State& state) {
    Load(state, Always(kDaily + "&frst=20080101&last=20091231"), 250);
}

// The start page's catch-up: the day after the client's newest bar onwards.
void BM_DailyLatest(benchmark::State& state) {
    Load(state,
         Always(kDaily + "&frst=" + std::to_string(TheFixture().newest_date()) + "&last=99999999"),
         500);
}

void BM_CodeWholeListCold(benchmark::State& state) {
    Load(
        state, [](int n) { return "/code.php?vrsn=1106&code=1&pdate=" + std::to_string(-n); }, 100);
}

void BM_CodeWholeListWarm(benchmark::State& state) {
    Load(state, Always("/code.php?vrsn=1106&code=1&pdate=0"), 250);
}

// A client that is up to date: nothing newer than its cursor.
void BM_CodeNothingNew(benchmark::State& state) {
    Load(state, Always("/code.php?vrsn=1106&code=1&pdate=20240101"), 500);
}

// A burst: 200 clients at once, each making 10 requests on new
// connections, mixed as clients' syncs mix them: status, stock list,
// incremental and two-year bars, dividends, pools, and one whole history in
// twenty.
void BM_Burst200Mixed(benchmark::State& state) {
    const std::string latest = std::to_string(TheFixture().newest_date());
    const std::vector<std::string> mix = {
        "/login.php?vrsn=1106&code=1&from=1",
        "/code.php?vrsn=1106&code=1&pdate=20240101",
        kDaily + "&frst=" + latest + "&last=99999999",
        kDaily + "&frst=20080101&last=20091231",
        "/divid.php?vrsn=1106&code=1&mrkt=SS&stck=600000&frst=0&last=99999999",
        "/pool.php?vrsn=1106&code=1&modl=vpool",
    };
    Load(
        state,
        [&](int n) { return n % 20 == 19 ? kDaily + "&frst=0&last=99999999" : mix[n % mix.size()]; },
        10, 200);
}

// Building the whole-history reply in process, without HTTP: the cost of
// reading the rows and writing the XML.
// (A fixed number of replies after one to warm up, so instruction counts
// under callgrind compare between builds.)
void BM_BuildDailyReply(benchmark::State& state) {
    server::Replies replies(TheFixture().dir());
    size_t bytes = replies.Daily("SS", "600000", 0, 99999999).size();
    for (auto _ : state) bytes = replies.Daily("SS", "600000", 0, 99999999).size();
    state.counters["reply_kb"] = static_cast<double>(bytes) / 1024;
}

void BM_BuildCodeReply(benchmark::State& state) {
    server::Replies replies(TheFixture().dir());
    size_t bytes = replies.Codes(0).size();
    for (auto _ : state) bytes = replies.Codes(0).size();
    state.counters["reply_kb"] = static_cast<double>(bytes) / 1024;
}

}  // namespace

BENCHMARK(BM_BuildDailyReply)->Iterations(400)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BuildCodeReply)->Iterations(400)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DailyWholeHistoryCold)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DailyWholeHistoryWarm)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DailyTwoYears)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DailyLatest)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CodeWholeListCold)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CodeWholeListWarm)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CodeNothingNew)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Burst200Mixed)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
