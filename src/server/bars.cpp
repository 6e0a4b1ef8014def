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

BarWriter::BarWriter(const Database& db)
    : upsert_(db,
              "INSERT INTO daily(market, code, date, open, high, low, close, volume) "
              "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8) "
              "ON CONFLICT(market, code, date) DO UPDATE SET open = excluded.open, "
              "high = excluded.high, low = excluded.low, close = excluded.close, "
              "volume = excluded.volume "
              "WHERE open <> excluded.open OR high <> excluded.high OR low <> excluded.low "
              "OR close <> excluded.close OR volume <> excluded.volume") {}

void BarWriter::Put(std::string_view market, std::string_view code, const Bar& bar) {
    upsert_.Bind(1, market).Bind(2, code).Bind(3, bar.date);
    upsert_.Bind(4, bar.open).Bind(5, bar.high).Bind(6, bar.low).Bind(7, bar.close);
    upsert_.Bind(8, bar.volume).Run();
}

}  // namespace server
