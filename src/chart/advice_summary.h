#pragma once
// What the advice panel ("操盘信号") shows for the current stock: its code
// and name, the newest close, the change against the close before it, and
// the stored strategy's current advice when it is asked for (the view asks
// once the stock's update has evaluated the strategy). Texts are GBK.
#include <cstdint>
#include <string>

#include "datastore/data_center.h"
#include "datastore/database.h"

struct AdviceSummary {
    std::string code;
    std::string name;
    int32_t securityType = 0;
    double price = 0;   // newest displayed close; 0 without bars
    double change = 0;  // in percent: against the previous close, or the open of a single bar
    std::string advice; // SECRET.INDI of this version; empty unless asked for, or without a row
};

AdviceSummary SummarizeAdvice(Database& db, const CDataCenter& dc, bool withAdvice);
