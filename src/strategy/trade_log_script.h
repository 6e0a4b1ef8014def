#pragma once
// The trade-log script of a strategy file: the SQL text that carries a
// strategy's TRADELOG rows from one database to another. The export writes
// one "DELETE FROM TRADELOG WHERE MARKET = '%s' AND CODE = '%s' AND VRSN = %d;"
// and, for each row, "\r\n" and "INSERT INTO TRADELOG(MARKET, CODE, VRSN,
// DDATE, BS, PRICE, PROFIT) VALUES('%s', '%s', %d, %s, %s, %s, %s);" with the
// row's values as the database gives them as text.
//
// A file is outside text, so its script is never run: it is parsed, and only
// a script made of exactly those statements for the entry's own stock and
// version is applied, by statements of our own with the values bound.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "datastore/database.h"

// The script of a stock's rows of `version`, GBK; empty when it has none.
std::string BuildTradeLogScript(Database& db, const std::string& market, const std::string& code, int32_t version);

// One INSERT of a script: the four values as written, each a plain decimal
// literal.
struct ScriptTrade {
    std::string date;
    std::string bs;
    std::string price;
    std::string profit;
};

struct ParsedTradeLogScript {
    bool deletes = false;  // false only for the empty script, which changes nothing
    std::vector<ScriptTrade> trades;
};

// The script's statements when every one has an exported form for this
// market, code and version: at most one DELETE, first, then INSERTs, with
// SQL white space between them. Nothing otherwise.
std::optional<ParsedTradeLogScript> ParseTradeLogScript(std::string_view script, const std::string& market,
                                                       const std::string& code, int32_t version);

// Runs the parsed statements under one savepoint (so also inside an open
// transaction); false, with nothing changed, when any of them fails.
bool ApplyTradeLogScript(Database& db, const ParsedTradeLogScript& script, const std::string& market,
                         const std::string& code, int32_t version);
