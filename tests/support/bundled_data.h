#pragma once
// The bundled CSV files in data/ loaded into a client database, the text of
// each number stored as the synchronisation stores the server's.
#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>
#include <string>
#include <vector>

#include "datastore/database.h"
#include "file_content.h"
#include "text/gbk.h"

namespace testing_support {

// The path of a bundled file, e.g. DataFile("daily/SS_600000.csv").
inline std::string DataFile(const std::string& name) { return std::string(KORVEL_SOURCE_DIR) + "/data/" + name; }

// The fields of a plain CSV line (the bundled files quote nothing).
inline std::vector<std::string> SplitCsv(const std::string& line) { return Split(line, ','); }

// The rows of a bundled file after its header line, each with `width`
// fields; a file that cannot be read or a row of another width fails the test.
inline std::vector<std::vector<std::string>> CsvRows(const std::string& name, size_t width) {
    std::ifstream in(DataFile(name));
    if (!in.is_open()) ADD_FAILURE() << "cannot read " << DataFile(name);
    std::vector<std::vector<std::string>> rows;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::vector<std::string> fields = SplitCsv(line);
        if (fields.size() == width) rows.push_back(std::move(fields));
        else ADD_FAILURE() << name << ": " << line;
    }
    return rows;
}

// data/daily/<MARKET>_<CODE>.csv: date,open,high,low,close,volume.
inline void ImportDaily(Database& db, const std::string& market, const std::string& code) {
    db.Exec("BEGIN");
    for (const std::vector<std::string>& f : CsvRows("daily/" + market + "_" + code + ".csv", 6))
        ASSERT_TRUE(db.Exec("INSERT INTO DAILY VALUES(?, ?, ?, ?, ?, ?, ?, ?)",
                            {market, code, f[0], f[1], f[2], f[3], f[4], f[5]}));
    db.Exec("COMMIT");
}

// The rows of data/dividend.csv that belong to one stock.
inline void ImportDividends(Database& db, const std::string& market, const std::string& code) {
    for (const std::vector<std::string>& f : CsvRows("dividend.csv", 8)) {
        if (f[0] != market || f[1] != code) continue;
        ASSERT_TRUE(db.Exec("INSERT INTO DIVIDEND VALUES(?, ?, ?, ?, ?, ?, ?, ?)",
                            {f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]}));
    }
}

// data/stocks.csv (market,code,name,pinyin,type) with the names in GBK.
inline void ImportStocks(Database& db) {
    for (const std::vector<std::string>& f : CsvRows("stocks.csv", 5))
        ASSERT_TRUE(db.Exec("INSERT INTO STOCKCODE VALUES(20220114, ?, ?, ?, ?, ?)",
                            {f[0], f[1], text::Utf8ToGbk(f[2]), f[3], std::stoi(f[4])}));
}

// The real bundled history of SS 600000 with its dividends and the stock list.
inline void ImportPufa(Database& db) {
    ImportStocks(db);
    ImportDaily(db, "SS", "600000");
    ImportDividends(db, "SS", "600000");
}

}  // namespace testing_support
