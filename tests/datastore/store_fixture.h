#pragma once
// Test databases: a fresh store in a temporary folder and helpers that fill
// its tables, from literal rows or from the bundled CSV files in data/.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../support/temp_dir.h"
#include "datastore/database.h"
#include "datastore/open_database.h"

namespace store_fixture {

inline std::string DataFile(const std::string& name) { return std::string(KORVEL_SOURCE_DIR) + "/data/" + name; }

// A database with the full schema in a new temporary folder.
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

// Bars on consecutive numbers standing in for dates, close = 10 + i / 100.
inline void InsertBars(Database& db, const std::string& market, const std::string& code, int firstDate, int count) {
    db.Exec("BEGIN");
    for (int i = 0; i < count; ++i) {
        const double close = 10 + i / 100.0;
        InsertBar(db, market, code, firstDate + i, close - 0.05, close + 0.1, close - 0.1, close, 1000 + i);
    }
    db.Exec("COMMIT");
}

inline void InsertDividend(Database& db, const std::string& market, const std::string& code, int date,
                           double songgu, double zhuanzheng, double paixi, double peigu, double ppeigu) {
    ASSERT_TRUE(db.Exec("INSERT INTO DIVIDEND VALUES(?, ?, ?, ?, ?, ?, ?, ?)",
                        {market, code, date, songgu, zhuanzheng, paixi, peigu, ppeigu}))
        << Database::LastError();
}

// `abbr` is stored as given: pass GBK bytes.
inline void InsertStock(Database& db, const std::string& market, const std::string& code, const std::string& abbr,
                        const std::string& pinyin, int ptype) {
    ASSERT_TRUE(db.Exec("INSERT INTO STOCKCODE VALUES(20220114, ?, ?, ?, ?, ?)", {market, code, abbr, pinyin, ptype}))
        << Database::LastError();
}

inline std::vector<std::string> SplitCsv(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    std::string field;
    while (std::getline(in, field, ',')) fields.push_back(field);
    return fields;
}

// data/daily/<MARKET>_<CODE>.csv: date,open,high,low,close,volume; the text
// of each number is stored, as the synchronisation stores the server's.
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

}  // namespace store_fixture
