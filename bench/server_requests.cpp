// Throughput and latency of korvel-server on loopback: 8 concurrent clients,
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

#include "server/replies.h"
#include "temp_server.h"

namespace {

constexpr int kClients = 8;
constexpr int kBars = 5000;
constexpr int kStocks = 5000;

// The first 5000 real bars of SS 600000 and 5000 stocks with four-character
// Chinese names, served for the whole benchmark run.
struct Fixture {
    int newest_date = 0;
    bench_support::TempServer server{[this](Database& db, const std::filesystem::path& dir) { Fill(db, dir); }};

    void Fill(Database& db, const std::filesystem::path& dir) {
        std::ifstream in(std::filesystem::path(KORVEL_SOURCE_DIR) / "data/daily/SS_600000.csv");
        std::ofstream bars(dir / "SS_600000.csv");
        std::string line;
        for (int i = 0; i <= kBars && std::getline(in, line); ++i) {
            bars << line << '\n';
            if (i > 0) newest_date = std::stoi(line);
        }
        bars.close();
        server::ImportDailyCsv(db, dir / "SS_600000.csv", bench_support::kQuietImport);

        const char* syllables[] = {"浦", "发", "银", "行", "招", "商", "平", "安", "万", "科"};
        std::ofstream stocks(dir / "stocks.csv");
        stocks << "market,code,name,pinyin,type\n";
        for (int i = 0; i < kStocks; ++i) {
            stocks << (i % 2 ? "SZ," : "SS,") << 600000 + i << ',';
            for (int k = 0, n = i; k < 4; ++k, n /= 10) stocks << syllables[n % 10];
            stocks << ",PFYH,1\n";
        }
        stocks.close();
        server::ImportStocksCsv(db, dir / "stocks.csv", 20240101, bench_support::kQuietImport);
    }
};

Fixture& TheFixture() {
    static Fixture fixture;
    return fixture;
}

// Runs `requests` requests per client from kClients threads per iteration;
// `target` gives each request's target from a number counting all requests.
void Load(benchmark::State& state, const std::function<std::string(int)>& target, int requests) {
    Fixture& fixture = TheFixture();
    std::vector<double> latencies;
    double seconds = 0;
    size_t reply_bytes = 0;
    std::atomic<int> sent{0};
    for (auto _ : state) {
        std::vector<std::vector<double>> per_client(kClients);
        std::vector<std::thread> clients;
        const auto start = std::chrono::steady_clock::now();
        for (int c = 0; c < kClients; ++c) {
            clients.emplace_back([&, c] {
                for (int i = 0; i < requests; ++i) {
                    const std::string path = target(sent++);
                    httplib::Client client("127.0.0.1", fixture.server.port());
                    const auto begin = std::chrono::steady_clock::now();
                    const auto result = client.Get(path, {{"Accept-Encoding", "identity"}});
                    const auto end = std::chrono::steady_clock::now();
                    if (!result || result->status != 200)
                        throw std::runtime_error("request failed: " + path);
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
         Always(kDaily + "&frst=" + std::to_string(TheFixture().newest_date) + "&last=99999999"),
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

// Building the whole-history reply in process, without HTTP: the cost of
// reading the rows and writing the XML.
// (A fixed number of replies after one to warm up, so instruction counts
// under callgrind compare between builds.)
void BM_BuildDailyReply(benchmark::State& state) {
    server::Replies replies(TheFixture().server.dir());
    size_t bytes = replies.Daily("SS", "600000", 0, 99999999).size();
    for (auto _ : state) bytes = replies.Daily("SS", "600000", 0, 99999999).size();
    state.counters["reply_kb"] = static_cast<double>(bytes) / 1024;
}

void BM_BuildCodeReply(benchmark::State& state) {
    server::Replies replies(TheFixture().server.dir());
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
BENCHMARK_MAIN();
