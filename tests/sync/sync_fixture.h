#pragma once
// Servers for the synchronisation tests: korvel-server on generated data and
// a tiny HTTP server of the test's own; a report receiver, table dumps.
#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "../support/file_content.h"
#include "../support/free_port.h"
#include "../support/run_process.h"
#include "../support/server_process.h"
#include "../support/temp_dir.h"
#include "../support/test_store.h"
#include "datastore/database.h"
#include "sync/server_requests.h"
#include "sync/sync_report.h"
#include "text/format.h"
#include "text/gbk.h"

namespace sync_test {

using testing_support::Count;
using testing_support::ReadFile;
using testing_support::WriteFile;

inline std::string Gbk(const char* utf8) { return text::Utf8ToGbk(utf8); }

// Runs korvel-server with the arguments; fails the test unless it succeeds.
inline void ServerCommand(const std::vector<std::string>& args) {
    const testing_support::ProcessResult result = testing_support::RunServerCommand(args);
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
}

// One stock of the generated server data.
struct TestStock {
    const char *market, *code, *name;  // name in UTF-8
    int type;
};

// Five ordinary stocks and an index.
inline const std::vector<TestStock>& TestStocks() {
    static const std::vector<TestStock> stocks = {
        {"SS", "600000", "浦发银行", 1}, {"SS", "600004", "白云机场", 1}, {"SZ", "000001", "平安银行", 1},
        {"SZ", "000002", "万科Ａ", 1},   {"SZ", "000651", "格力电器", 1}, {"SS", "000001", "上证指数", 2},
    };
    return stocks;
}

inline constexpr int kNewestBar = 20111220;
inline constexpr int kStockStamp = 20240101;

// A korvel-server data folder with the test stocks, 96 bars each (the 10th
// and 20th of every month of 2008 to 2011, the newest on 20111220, prices
// depending on stock and bar) and two dividend records each (20090610 and
// 20110610), served on loopback by Start(), its access log kept.
class TestServer {
public:
    TestServer() {
        std::string stocks = "market,code,name,pinyin,type\n";
        std::string dividends = "market,code,date,songgu,zhuanzeng,paixi,peigu,peigujia\n";
        for (size_t s = 0; s < TestStocks().size(); ++s) {
            const TestStock& stock = TestStocks()[s];
            stocks += text::Format("%s,%s,%s,X,%d\n", stock.market, stock.code, stock.name, stock.type);
            dividends += text::Format("%s,%s,20090610,1,0,2.5,0,0\n%s,%s,20110610,0,0,1.2,0,0\n", stock.market,
                                      stock.code, stock.market, stock.code);
            std::string bars = "date,open,high,low,close,volume\n";
            int i = 0;
            for (int year = 2008; year <= 2011; ++year)
                for (int month = 1; month <= 12; ++month)
                    for (const int day : {10, 20}) {
                        const double close = 10 + s + i * 0.05;
                        bars += text::Format("%d,%.2f,%.2f,%.2f,%.2f,%d\n", year * 10000 + month * 100 + day,
                                             close - 0.1, close + 0.3, close - 0.2, close, 100000 + i++);
                    }
            WriteFile(in_ / (std::string(stock.market) + "_" + stock.code + ".csv"), bars);
        }
        WriteFile(dir_ / "stocks.csv", stocks);
        WriteFile(dir_ / "dividend.csv", dividends);
        ServerCommand({"import-csv", "--data", data(), "--stocks", (dir_ / "stocks.csv").string(), "--daily",
                       in_.string(), "--dividend", (dir_ / "dividend.csv").string(), "--stamp",
                       std::to_string(kStockStamp)});
    }

    std::string data() const { return (dir_ / "data").string(); }

    void Start() { process_ = std::make_unique<testing_support::ServerProcess>(data(), LogPath()); }
    void Stop() { process_.reset(); }

    std::string host() const { return process_->host(); }
    ServerAccess access() const { return ServerAccess{host(), 4242u, {}}; }

    // The request lines served so far ("GET /daily.php?... "). The server
    // logs a request just after answering it, so the log is read once it
    // has stopped growing.
    std::vector<std::string> Requests(const std::string& page = "") const {
        std::string text = ReadFile(LogPath());
        for (int i = 0; i < 100; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            std::string again = ReadFile(LogPath());
            if (again == text) break;
            text = std::move(again);
        }
        std::vector<std::string> lines;
        for (const std::string& line : testing_support::Lines(text))
            if (line.find("\"GET /" + page) != std::string::npos) lines.push_back(line);
        return lines;
    }

    // Imports a CSV file through the server's own importer, e.g.
    // Import("import-hosts", "--hosts", "nett,addr,cmnt\n...").
    void Import(const std::string& command, const std::string& option, const std::string& csv,
                const std::vector<std::string>& more = {}) {
        const std::filesystem::path file = dir_ / ("import-" + std::to_string(++imports_) + ".csv");
        WriteFile(file, csv);
        std::vector<std::string> args = {command, "--data", data(), option, file.string()};
        args.insert(args.end(), more.begin(), more.end());
        ServerCommand(args);
    }

    // More bars for one stock: `lines` are "date,open,high,low,close,volume" rows.
    void AddBars(const std::string& market, const std::string& code, const std::string& lines) {
        const std::filesystem::path file = dir_ / ("more-" + std::to_string(++imports_)) / (market + "_" + code + ".csv");
        WriteFile(file, "date,open,high,low,close,volume\n" + lines);
        ServerCommand({"import-csv", "--data", data(), "--daily", file.string()});
    }

private:
    std::string LogPath() const { return (dir_ / "access.log").string(); }

    testing_support::TempDir dir_;
    std::filesystem::path in_ = dir_ / "daily";
    std::unique_ptr<testing_support::ServerProcess> process_;
    int imports_ = 0;
};

// An HTTP server of the test's own on a free loopback port: every GET goes
// to `handler`.
class TinyServer {
public:
    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

    explicit TinyServer(const Handler& handler) {
        server_.Get(".*", handler);
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~TinyServer() {
        server_.stop();
        thread_.join();
    }
    TinyServer(const TinyServer&) = delete;
    TinyServer& operator=(const TinyServer&) = delete;

    // Answers every request with status 200 and this body.
    static Handler Always(std::string body) {
        return [body](const httplib::Request&, httplib::Response& response) {
            response.set_content(body, "text/xml; charset=gb2312");
        };
    }

    std::string host() const { return "127.0.0.1:" + std::to_string(port_); }
    ServerAccess access() const { return ServerAccess{host(), 4242u, {}}; }

private:
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
};

// A loopback address where nothing listens (the port was free a moment ago).
inline std::string ClosedHost() { return "127.0.0.1:" + std::to_string(testing_support::FreeLoopbackPort()); }

// korvel-cli in a fresh client folder whose HOST is the test server, started.
class CliTest : public testing::Test {
protected:
    void SetUp() override {
        server_.Start();
        ASSERT_EQ(Cli({"init"}).exitCode, 0);
        const testing_support::ProcessResult set = Cli({"settings", "set", "HOST", server_.host()});
        ASSERT_EQ(set.exitCode, 0) << set.err;
    }

    testing_support::ProcessResult Cli(const std::vector<std::string>& words) {
        return testing_support::RunCli(dir_.path(), words);
    }
    // The client's database, opened after the CLI has ended.
    Database Db() { return *Database::Open((dir_ / "thedb.db3").string()); }

    TestServer server_;
    testing_support::TempDir dir_;
};

// Keeps every report, texts as UTF-8 for readable assertions. Safe to call
// from a worker thread.
class Reports {
public:
    SyncReporter receiver() {
        return [this](const SyncReport& report) {
            const std::lock_guard lock(mutex_);
            reports_.push_back({report.result, text::GbkToUtf8(report.text), report.about});
        };
    }
    std::vector<std::string> Texts() const {
        const std::lock_guard lock(mutex_);
        std::vector<std::string> texts;
        for (const SyncReport& r : reports_) texts.push_back(r.text);
        return texts;
    }
    SyncReport Last() const {
        const std::lock_guard lock(mutex_);
        return reports_.empty() ? SyncReport{} : reports_.back();
    }

private:
    mutable std::mutex mutex_;
    std::vector<SyncReport> reports_;  // texts converted to UTF-8
};

// The whole content of a table as text, rows in key order, for before/after
// comparisons.
inline std::string Dump(Database& db, const std::string& table) {
    const std::optional<TextTable> rows = db.GetTable("SELECT * FROM " + table + " ORDER BY 1, 2, 3");
    if (!rows) return "(unreadable)";
    std::string out;
    for (const std::string& cell : rows->cells) out += cell + "|";
    return out;
}

inline std::string DumpAll(Database& db) {
    std::string out;
    for (const char* table : {"DAILY", "DIVIDEND", "STOCKCODE", "SECRET", "TRADELOG", "APPSET", "HOST"})
        out += std::string(table) + ":" + Dump(db, table) + "\n";
    return out;
}

}  // namespace sync_test
