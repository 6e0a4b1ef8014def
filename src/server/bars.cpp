#include "server/bars.h"

#include <algorithm>

#include "text/format.h"

namespace server {

std::string BarProblem(const Bar& bar) {
    if (!(std::min({bar.open, bar.high, bar.low, bar.close}) > 0)) return "prices must be positive";
    if (bar.volume < 0) return "negative volume";
    return {};
}

std::string BarWarning(const Bar& bar) {
    const struct {
        const char* name;
        double value;
    } prices[] = {{"open", bar.open}, {"close", bar.close}};
    for (const auto& price : prices) {
        if (bar.high < price.value)
            return text::Format("prices out of order: high %g below %s %g; stored as it is", bar.high,
                                price.name, price.value);
        if (bar.low > price.value)
            return text::Format("prices out of order: low %g above %s %g; stored as it is", bar.low,
                                price.name, price.value);
    }
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
