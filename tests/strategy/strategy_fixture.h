#pragma once
// Shared pieces of the strategy tests: test databases in temporary folders
// filled from literal rows or from the bundled CSV files in data/, a data
// center over them, and a guard that leaves the engine's process-wide state
// as it found it.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "../support/temp_dir.h"
#include "datastore/data_center.h"
#include "datastore/database.h"
#include "datastore/open_database.h"
#include "gep/chromosome.h"
#include "gep/random.h"
#include "text/gbk.h"

namespace strategy_test {

inline std::string DataFile(const std::string& name) { return std::string(KORVEL_SOURCE_DIR) + "/data/" + name; }

inline std::string Gbk(std::string_view utf8) { return text::Utf8ToGbk(utf8); }

// A database with the full schema ("thedb.db3") in a new temporary folder.
class Store {
public:
    Store() : db_(Open(dir_)) {}
    Database& db() { return db_; }
    const testing_support::TempDir& dir() const { return dir_; }

private:
    static Database Open(const testing_support::TempDir& dir) {
        std::optional<Database> db = OpenDatabase(dir.path(), [](std::string_view m) { ADD_FAILURE() << m; });
        if (!db) throw std::runtime_error("cannot open the test database");
        return std::move(*db);
    }
    testing_support::TempDir dir_;
    Database db_;
};

inline void InsertBar(Database& db, const std::string& market, const std::string& code, int date, double open,
                      double high, double low, double close, double volume) {
    ASSERT_TRUE(db.Exec("INSERT INTO DAILY VALUES(?, ?, ?, ?, ?, ?, ?, ?)",
                        {market, code, date, open, high, low, close, volume}))
        << Database::LastError();
}

// `count` bars on consecutive numbers standing in for dates, with a close
// that rises and falls so the conditions change.
inline void InsertBars(Database& db, const std::string& market, const std::string& code, int firstDate, int count) {
    db.Exec("BEGIN");
    for (int i = 0; i < count; ++i) {
        const double close = 10 + (i % 17) / 10.0 + (i % 5) / 20.0;
        InsertBar(db, market, code, firstDate + i, close - 0.05, close + 0.1, close - 0.1, close, 1000 + (i % 7) * 90);
    }
    db.Exec("COMMIT");
}

// `abbr` is stored as given: pass GBK bytes.
inline void InsertStock(Database& db, const std::string& market, const std::string& code, const std::string& abbr,
                        int ptype) {
    ASSERT_TRUE(db.Exec("INSERT INTO STOCKCODE VALUES(20220114, ?, ?, ?, 'X', ?)", {market, code, abbr, ptype}))
        << Database::LastError();
}

inline std::vector<std::string> SplitCsv(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    std::string field;
    while (std::getline(in, field, ',')) fields.push_back(field);
    return fields;
}

// data/daily/<MARKET>_<CODE>.csv, the text of each number stored as the
// synchronisation stores the server's.
inline void ImportDaily(Database& db, const std::string& market, const std::string& code) {
    std::ifstream in(DataFile("daily/" + market + "_" + code + ".csv"));
    ASSERT_TRUE(in.is_open());
    std::string line;
    std::getline(in, line);
    db.Exec("BEGIN");
    while (std::getline(in, line)) {
        const std::vector<std::string> f = SplitCsv(line);
        ASSERT_EQ(f.size(), 6u) << line;
        ASSERT_TRUE(db.Exec("INSERT INTO DAILY VALUES(?, ?, ?, ?, ?, ?, ?, ?)",
                            {market, code, f[0], f[1], f[2], f[3], f[4], f[5]}));
    }
    db.Exec("COMMIT");
}

// The rows of data/dividend.csv that belong to one stock.
inline void ImportDividends(Database& db, const std::string& market, const std::string& code) {
    std::ifstream in(DataFile("dividend.csv"));
    ASSERT_TRUE(in.is_open());
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        const std::vector<std::string> f = SplitCsv(line);
        ASSERT_EQ(f.size(), 8u) << line;
        if (f[0] != market || f[1] != code) continue;
        ASSERT_TRUE(db.Exec("INSERT INTO DIVIDEND VALUES(?, ?, ?, ?, ?, ?, ?, ?)",
                            {f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]}));
    }
}

// data/stocks.csv (market,code,name,pinyin,type) with the names in GBK.
inline void ImportStocks(Database& db) {
    std::ifstream in(DataFile("stocks.csv"));
    ASSERT_TRUE(in.is_open());
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        const std::vector<std::string> f = SplitCsv(line);
        ASSERT_EQ(f.size(), 5u) << line;
        ASSERT_TRUE(db.Exec("INSERT INTO STOCKCODE VALUES(20220114, ?, ?, ?, ?, ?)",
                            {f[0], f[1], Gbk(f[2]), f[3], std::stoi(f[4])}));
    }
}

// The real bundled history of SS 600000 with its dividends and the stock list.
inline void ImportPufa(Database& db) {
    ImportStocks(db);
    ImportDaily(db, "SS", "600000");
    ImportDividends(db, "SS", "600000");
}

// Every test touching the engine's chromosome shape or random sources
// derives from this, so tests stay independent of their order.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        GEP::resetRandomSources();
        GEP::setClockSeedOverride(1234);
    }
    void TearDown() override {
        GEP::Chromosome::releaseFunctions();
        GEP::Chromosome::setTerminals({});
        GEP::setClockSeedOverride(std::nullopt);
    }
};

// Gene symbols of the trading shape (23 each) three times over.
inline std::vector<int16_t> ThreeGenes(std::vector<int16_t> gene) {
    gene.resize(23, 1);
    std::vector<int16_t> symbols;
    for (int g = 0; g < 3; ++g) symbols.insert(symbols.end(), gene.begin(), gene.end());
    return symbols;
}

}  // namespace strategy_test
