#pragma once
// The candidates of the quick code search and its filter: the seven
// indicators first, then every stock of the stock list. Texts are GBK.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "datastore/stock_info.h"

// The market of an indicator candidate.
inline constexpr const char* kIndicatorMarket = "ID";

struct CodeCandidate {
    std::string market;     // "ID" for an indicator
    std::string code;       // stock code, or the indicator key
    std::string name;       // the stock's short name, or the indicator's Chinese name
    std::string shortForm;  // pinyin initials in lower case, or the indicator key in lower case
    int32_t ptype = 0;      // the stock's security type; 0 for an indicator
};

// KDJ, MACD, RSI, CCI, VOL, BOLL and MA, then `stocks` in their order.
std::vector<CodeCandidate> BuildCandidates(const std::vector<StockInfo>& stocks);

// Indices of the candidates to show for the typed text: all of them when
// it is empty; otherwise, in order, each candidate whose code contains the
// text, and (again) each whose short form contains it, so a candidate
// matching both is listed twice. The text is compared in lower case; names
// are not searched.
std::vector<size_t> FilterCandidates(const std::vector<CodeCandidate>& candidates, std::string_view typed);
