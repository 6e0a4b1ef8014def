#pragma once
// One entry of the stock list, from one STOCKCODE row.
#include <cstdint>
#include <string>

struct StockInfo {
    std::string market;  // "SS" or "SZ"
    std::string code;
    std::string abbr;    // short Chinese name, GBK
    std::string pinyin;  // initials for the quick code search
    int32_t ptype = 0;   // security type; 11 to 14 show prices with three decimals
};
