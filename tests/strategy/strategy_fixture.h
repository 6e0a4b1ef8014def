#pragma once
// Shared pieces of the strategy tests: the test stores, bundled data and
// engine state of tests/support, bars whose close rises and falls, and
// traders of the trading shape.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "../support/bundled_data.h"
#include "../support/engine_state.h"
#include "../support/test_store.h"
#include "datastore/database.h"
#include "strategy/trader_individual.h"
#include "text/gbk.h"

namespace strategy_test {

using testing_support::EngineTest;
using testing_support::ImportDaily;
using testing_support::ImportDividends;
using testing_support::ImportPufa;
using testing_support::InsertBar;
using testing_support::Store;

inline std::string Gbk(std::string_view utf8) { return text::Utf8ToGbk(utf8); }

// Every row of a query, each cell followed by "|" and each row by a line
// end; with quote() around the columns exact in type and value.
inline std::string Rows(Database& db, const std::string& sql) {
    const std::optional<TextTable> rows = db.GetTable(sql);
    if (!rows) return "(failed) " + Database::LastError();
    std::string out;
    for (size_t r = 0; r < rows->RowCount(); ++r) {
        for (size_t c = 0; c < rows->columns.size(); ++c) out += rows->At(r, c) + "|";
        out += "\n";
    }
    return out;
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

// A stock with the placeholder pinyin "X"; `abbr` is stored as given: pass
// GBK bytes.
inline void InsertStock(Database& db, const std::string& market, const std::string& code, const std::string& abbr,
                        int ptype) {
    testing_support::InsertStock(db, market, code, abbr, "X", ptype);
}

// Gene symbols of the trading shape (23 each) three times over.
inline std::vector<int16_t> ThreeGenes(std::vector<int16_t> gene) {
    gene.resize(23, 1);
    std::vector<int16_t> symbols;
    for (int g = 0; g < 3; ++g) symbols.insert(symbols.end(), gene.begin(), gene.end());
    return symbols;
}

// A trader whose three genes are `gene`.
inline TraderIndividual Trader(const std::vector<int16_t>& gene) {
    TraderIndividual trader;
    trader.chromosome() = GEP::Chromosome(ThreeGenes(gene));
    return trader;
}

// The charges and the trade-count band (trades per 240 cases) of a range of
// `cases` fitness cases.
inline void SetRules(float buy, float sell, int32_t minTrades, int32_t maxTrades, size_t cases) {
    TraderIndividual::setRules({buy, sell, minTrades, maxTrades, static_cast<int32_t>(cases)});
}

}  // namespace strategy_test
