#pragma once
// Databases for the benchmarks, in a temporary folder removed afterwards:
// the bundled real histories (data/daily/*.csv with their dividends and the
// stock list) and synthetic stocks whose bars follow a random walk.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "datastore/database.h"
#include "datastore/open_database.h"
#include "text/gbk.h"

namespace bench_data {

inline std::string DataFile(const std::string& name) { return std::string(KORVEL_SOURCE_DIR) + "/data/" + name; }

inline std::vector<std::string> SplitCsv(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    std::string field;
    while (std::getline(in, field, ',')) fields.push_back(field);
    return fields;
}

// Rows of a bundled CSV file after its header, each as its fields.
inline std::vector<std::vector<std::string>> ReadCsv(const std::string& name) {
    std::ifstream in(DataFile(name));
    if (!in) throw std::runtime_error("cannot read data/" + name);
    std::vector<std::vector<std::string>> rows;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) rows.push_back(SplitCsv(line));
    return rows;
}

// Market and code of every bundled daily history, in file-name order.
inline std::vector<std::pair<std::string, std::string>> RealStocks() {
    std::vector<std::pair<std::string, std::string>> stocks;
    for (const auto& entry : std::filesystem::directory_iterator(DataFile("daily"))) {
        const std::string name = entry.path().stem().string();  // SS_600000
        const size_t cut = name.find('_');
        if (cut != std::string::npos) stocks.emplace_back(name.substr(0, cut), name.substr(cut + 1));
    }
    std::sort(stocks.begin(), stocks.end());
    return stocks;
}

// The next weekday after yyyymmdd.
inline int32_t NextTradingDay(int32_t date) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int y = date / 10000, m = date / 100 % 100, d = date % 100;
    do {
        const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
        if (++d > kDays[m - 1] + (m == 2 && leap ? 1 : 0)) {
            d = 1;
            if (++m > 12) {
                m = 1;
                ++y;
            }
        }
        // The Julian day number, which is 0 modulo 7 on Mondays.
        const int a = (14 - m) / 12, yy = y + 4800 - a, mm = m + 12 * a - 3;
        const long jdn = d + (153 * mm + 2) / 5 + 365L * yy + yy / 4 - yy / 100 + yy / 400 - 32045;
        if (jdn % 7 < 5) break;  // 0 = Monday .. 4 = Friday
    } while (true);
    return y * 10000 + m * 100 + d;
}

class BenchDatabase {
public:
    // In a new temporary folder, removed with the database.
    BenchDatabase() {
        std::string pattern = (std::filesystem::temp_directory_path() / "korvel-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        Open(pattern);
        temporary_ = true;
    }
    // A new database in `dir`, which stays (an older one there is replaced).
    explicit BenchDatabase(const std::filesystem::path& dir) {
        std::filesystem::create_directories(dir);
        std::filesystem::remove(dir / "thedb.db3");
        std::filesystem::remove(dir / "korvel.db3");
        Open(dir);
    }
    ~BenchDatabase() {
        db_.reset();
        std::error_code ignored;
        if (temporary_) std::filesystem::remove_all(dir_, ignored);
    }
    BenchDatabase(const BenchDatabase&) = delete;
    BenchDatabase& operator=(const BenchDatabase&) = delete;

    Database& db() { return *db_; }
    const std::filesystem::path& dir() const { return dir_; }

    // data/daily/MARKET_CODE.csv and the stock's dividend records.
    void ImportReal(const std::string& market, const std::string& code) {
        db_->Exec("BEGIN");
        for (const auto& f : ReadCsv("daily/" + market + "_" + code + ".csv"))
            db_->Exec("INSERT INTO DAILY VALUES(?, ?, ?, ?, ?, ?, ?, ?)",
                      {market, code, f[0], f[1], f[2], f[3], f[4], f[5]});
        for (const auto& f : ReadCsv("dividend.csv"))
            if (f[0] == market && f[1] == code)
                db_->Exec("INSERT INTO DIVIDEND VALUES(?, ?, ?, ?, ?, ?, ?, ?)",
                          {f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]});
        db_->Exec("COMMIT");
    }

    // `bars` weekdays from 2017 of a random walk around 20 with volatile
    // spells, and a stock-list entry.
    void AddSynthetic(const std::string& market, const std::string& code, size_t bars, uint32_t seed) {
        std::mt19937 rng(seed);
        std::normal_distribution<double> step(0.0, 1.0);
        std::uniform_real_distribution<double> u(0.0, 1.0);
        double close = 20.0;
        double volatility = 0.015;
        int32_t date = 20170102;
        db_->Exec("BEGIN");
        db_->Exec("INSERT INTO STOCKCODE VALUES(20220114, ?, ?, ?, 'SYN', 1)",
                  {market, code, text::Utf8ToGbk("合成" + code)});
        for (size_t i = 0; i < bars; ++i) {
            if (u(rng) < 0.02) volatility = 0.005 + 0.03 * u(rng);
            const double open = close * (1.0 + 0.3 * volatility * step(rng));
            close = std::max(1.0, open * (1.0 + volatility * step(rng)));
            const double high = std::max(open, close) * (1.0 + volatility * u(rng));
            const double low = std::min(open, close) * (1.0 - volatility * u(rng));
            const double volume = 1e6 * (1.0 + 4.0 * u(rng));
            db_->Exec("INSERT INTO DAILY VALUES(?, ?, ?, ?, ?, ?, ?, ?)",
                      {market, code, date, Round2(open), Round2(high), Round2(low), Round2(close), std::round(volume)});
            date = NextTradingDay(date);
        }
        db_->Exec("COMMIT");
    }

private:
    static double Round2(double x) { return std::round(x * 100.0) / 100.0; }

    void Open(const std::filesystem::path& dir) {
        dir_ = dir;
        std::optional<Database> db = OpenDatabase(dir_, {});
        if (!db) throw std::runtime_error("cannot create the benchmark database in " + dir_.string());
        db_.emplace(std::move(*db));
        ImportStockList();
    }

    void ImportStockList() {
        db_->Exec("BEGIN");
        for (const auto& f : ReadCsv("stocks.csv"))
            db_->Exec("INSERT INTO STOCKCODE VALUES(20220114, ?, ?, ?, ?, ?)",
                      {f[0], f[1], text::Utf8ToGbk(f[2]), f[3], std::stoi(f[4])});
        db_->Exec("COMMIT");
    }

    std::filesystem::path dir_;
    bool temporary_ = false;
    std::optional<Database> db_;
};

}  // namespace bench_data
