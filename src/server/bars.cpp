#include "server/bars.h"

#include <algorithm>

namespace server {

std::string CheckBar(const Bar& bar) {
    if (bar.low <= 0) return "prices must be positive";
    if (bar.low > std::min(bar.open, bar.close) || bar.high < std::max(bar.open, bar.close))
        return "prices out of order (need low <= open, close <= high)";
    if (bar.volume < 0) return "negative volume";
    return {};
}

BarWriter::BarWriter(Database& db)
    : upsert_(Prepare(db,
                      "INSERT INTO daily(market, code, date, open, high, low, close, volume) "
                      "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8) "
                      "ON CONFLICT(market, code, date) DO UPDATE SET open = excluded.open, "
                      "high = excluded.high, low = excluded.low, close = excluded.close, "
                      "volume = excluded.volume "
                      "WHERE open <> excluded.open OR high <> excluded.high "
                      "OR low <> excluded.low OR close <> excluded.close "
                      "OR volume <> excluded.volume")) {}

void BarWriter::Put(std::string_view market, std::string_view code, const Bar& bar) {
    Run(upsert_, {market, code, bar.date, bar.open, bar.high, bar.low, bar.close, bar.volume});
}

}  // namespace server
