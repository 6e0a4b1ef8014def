#pragma once
// Test databases: a client store with the full schema in a fresh temporary
// folder, helpers that add literal rows to its tables, and a counting query
// for checks on any database.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "datastore/database.h"
#include "datastore/open_database.h"
#include "temp_dir.h"

namespace testing_support {

// A database with the full schema ("thedb.db3") in a new temporary folder.
class Store {
public:
    Store() : db_(Open(dir_)) {}
    Database& db() { return db_; }
    const TempDir& dir() const { return dir_; }

private:
    static Database Open(const TempDir& dir) {
        std::optional<Database> db = OpenDatabase(dir.path(), [](std::string_view m) { ADD_FAILURE() << m; });
        if (!db) throw std::runtime_error("cannot open the test database");
        return std::move(*db);
    }
    TempDir dir_;
    Database db_;
};

inline void InsertBar(Database& db, const std::string& market, const std::string& code, int date, double open,
                      double high, double low, double close, double volume) {
    ASSERT_TRUE(db.Exec("INSERT INTO DAILY VALUES(?, ?, ?, ?, ?, ?, ?, ?)",
                        {market, code, date, open, high, low, close, volume}))
        << Database::LastError();
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

// The number a one-row query such as "SELECT COUNT(*) ..." gives; -1 when
// the query fails or does not give exactly one row.
inline int64_t Count(Database& db, const std::string& sql) {
    const std::optional<TextTable> rows = db.GetTable(sql);
    return rows && rows->RowCount() == 1 ? std::stoll(rows->At(0, 0)) : -1;
}

}  // namespace testing_support
