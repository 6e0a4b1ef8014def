#pragma once
// What the server tests share: temporary folders and files (from
// tests/support), a collecting import log, TDX day records, and a fixture
// that serves a small example database with korvel-server on loopback.
#include <gtest/gtest.h>
#include <httplib.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "../support/file_content.h"
#include "../support/server_process.h"
#include "../support/temp_dir.h"
#include "server/import_log.h"
#include "server/importers.h"
#include "server/server_database.h"

namespace server_test {

using testing_support::ReadFile;
using testing_support::ServerProcess;
using testing_support::TempDir;
using testing_support::WriteFile;

// Keeps the problems an import reports; progress lines are dropped.
struct CollectingLog {
    std::vector<std::string> problems;
    server::ImportLog log() {
        return server::ImportLog{[this](const std::string& p) { problems.push_back(p); }, [](const std::string&) {}};
    }
};

// A TDX day record as the TDX client writes it: date, prices in
// hundredths, amount (a float, 0 here), volume, a reserved word.
inline std::string TdxRecord(int date, double open, double high, double low, double close, uint32_t volume) {
    std::string out;
    const auto put = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) out += static_cast<char>(v >> (8 * i) & 0xFF);
    };
    put(static_cast<uint32_t>(date));
    for (double price : {open, high, low, close}) put(static_cast<uint32_t>(std::lround(price * 100)));
    for (uint32_t v : {0u, volume, 0u}) put(v);  // 0.0f is all zero bits
    return out;
}

// The example data, imported into the database in `dir` from CSV files in
// dir/in: three stocks, eight bars of SS 600000 (20240102 to 20240111),
// dividends, two news items and the pool "vpool" of three entries, one of
// them a stock missing from the stock list.
inline void ImportExampleData(const std::filesystem::path& dir) {
    Database db = server::OpenServerDatabase(dir);
    CollectingLog log;
    WriteFile(dir / "in/stocks.csv",
              "market,code,name,pinyin,type\n"
              "SS,600000,浦发银行,PFYH,1\n"
              "SZ,000002,万科Ａ,WKA,1\n"
              "SS,000001,上证指数,SZZS,2\n");
    WriteFile(dir / "in/SS_600000.csv",
              "date,open,high,low,close,volume\n"
              "20240102,10.0,10.2,9.9,10.1,1000\n"
              "20240103,10.1,10.3,10.0,10.2,2000\n"
              "20240104,10.2,10.4,10.1,10.3,3000\n"
              "20240105,10.3,10.5,10.2,10.4,4000\n"
              "20240108,10.4,10.6,10.3,10.5,5000\n"
              "20240109,10.5,10.7,10.4,10.6,6000\n"
              "20240110,10.6,10.8,10.5,10.7,60000000000\n"
              "20240111,29.5,29.5,29.5,29.5,0\n");
    WriteFile(dir / "in/dividend.csv",
              "market,code,date,songgu,zhuanzeng,paixi,peigu,peigujia\n"
              "SS,600000,20200101,1,0,2.5,0,0\n"
              "SS,600000,20230101,0,0,10.166131,3,5.5\n"
              "SZ,000002,20230101,0,0,1,0,0\n");
    WriteFile(dir / "in/news.csv",
              "popp,vrsn,title,addr,text\n"
              "3,7,\"A&B <新闻>\",http://example.com/?a=1&b=2,\"第一条, 含逗号\"\n"
              "0,8,第二条,,\n");
    WriteFile(dir / "in/pool_models.csv", "model,caption,info\nvpool,价值模型股票池,示例\n");
    WriteFile(dir / "in/pools.csv",
              "model,rank,date,market,code,capital,pe,pb,mpg\n"
              "vpool,2,20240105,SZ,000002,1100,8.5,0.9,-12.25\n"
              "vpool,1,20240105,SS,600000,0,0,0,0\n"
              "vpool,3,20240105,SZ,999999,0,0,0,0\n");
    EXPECT_EQ(server::ImportStocksCsv(db, dir / "in/stocks.csv", 20240101, log.log()).written, 3);
    server::ImportDailyCsv(db, dir / "in/SS_600000.csv", log.log());
    server::ImportDividendCsv(db, dir / "in/dividend.csv", log.log());
    server::ImportNews(db, dir / "in/news.csv", log.log());
    server::ImportPoolModels(db, dir / "in/pool_models.csv", log.log());
    server::ImportPools(db, dir / "in/pools.csv", log.log());
    EXPECT_TRUE(log.problems.empty()) << log.problems.front();
}

struct Reply {
    int status = 0;
    std::string body;
    std::string content_type;
};

// A GET without compression, as the program's fetch asks.
inline Reply Fetch(int port, const std::string& target) {
    const auto result = httplib::Client("127.0.0.1", port).Get(target, {{"Accept-Encoding", "identity"}});
    if (!result) return {};
    return {result->status, result->body, result->get_header_value("Content-Type")};
}

// The example data in a temporary folder, served by Start() with the log in
// dir_/server.log.
class ServerTest : public testing::Test {
protected:
    void SetUp() override { ImportExampleData(dir_.path()); }

    void Start(const std::vector<std::string>& options = {}) {
        server_ = std::make_unique<ServerProcess>(dir_.path().string(), (dir_ / "server.log").string(), options);
    }
    Reply Get(const std::string& target) const { return Fetch(server_->port(), target); }
    std::string Log() const { return ReadFile(dir_ / "server.log"); }

    // Loads a 200 reply as XML, as the client does.
    pugi::xml_document Xml(const std::string& target) const {
        const Reply reply = Get(target);
        EXPECT_EQ(reply.status, 200) << target << ": " << reply.body;
        pugi::xml_document doc;
        const pugi::xml_parse_result parsed = doc.load_buffer(reply.body.data(), reply.body.size());
        EXPECT_TRUE(parsed) << target << ": " << parsed.description();
        return doc;
    }

    TempDir dir_;
    std::unique_ptr<ServerProcess> server_;
};

}  // namespace server_test
