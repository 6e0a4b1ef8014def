#include "datastore/run_settings.h"

#include "text/format.h"

void ApplyRunSettings(RunParameters& params, int32_t depth, double buyPercent, double sellPercent) {
    params.minTradeNums = 1;
    params.maxTradeNums = 250;
    params.evoluteSteps = depth;
    params.evoluteDays = 2 * 240;
    params.maxTradeLost = 100.0f / 100.0f;
    params.buyCharge = static_cast<float>(buyPercent / 100.0);
    params.sellCharge = static_cast<float>(sellPercent / 100.0);
}

namespace {

// The numbers are written into the statement text, not bound: SETS has text
// affinity, so "0.002000" is stored as the text SQLite makes of that
// literal, which is what older installations hold. Only our own numbers go
// into the text.
void Replace(Database& db, const char* item, const std::string& value) {
    db.Exec(text::Format("DELETE FROM APPSET WHERE ITEM = '%s'", item));
    db.Exec(text::Format("\tINSERT INTO APPSET(ITEM,SETS) VALUES('%s', %s)", item, value.c_str()));
}

}  // namespace

void StoreRunSettings(Database& db, const RunParameters& params) {
    Replace(db, "MIN_TRADE_NUMS", text::Format("%d", params.minTradeNums));
    Replace(db, "MAX_TRADE_NUMS", text::Format("%d", params.maxTradeNums));
    Replace(db, "EVOLUTE_STEPS", text::Format("%d", params.evoluteSteps));
    Replace(db, "EVOLUTE_DAYS", text::Format("%d", params.evoluteDays));
    Replace(db, "MAX_TRADE_LOST", text::Format("%f", static_cast<double>(params.maxTradeLost)));
    Replace(db, "BUY_CHARGE", text::Format("%f", static_cast<double>(params.buyCharge)));
    Replace(db, "SELL_CHARGE", text::Format("%f", static_cast<double>(params.sellCharge)));
}
