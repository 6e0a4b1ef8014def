#pragma once
// A daily bar as the importers store it, its plausibility checks and the
// statement that stores it; shared by the CSV and TDX importers.
#include <string>
#include <string_view>

#include "server/checked_sql.h"

namespace server {

struct Bar {
    int date = 0;
    double open = 0, high = 0, low = 0, close = 0;
    double volume = 0;  // shares
};

// Why the bar cannot be stored (a price not above zero, a negative volume),
// or empty.
std::string BarProblem(const Bar& bar);
// What is odd about a storable bar, or empty: prices out of order (low above
// open or close, high below them). Vendors record such days, for example
// around ex-rights dates, so the bar is stored as it is and only reported.
std::string BarWarning(const Bar& bar);

// Adds a bar or replaces a stored one of the same day; a bar identical to
// the stored one changes nothing (so re-importing writes nothing).
class BarWriter {
public:
    explicit BarWriter(Database& db);
    void Put(std::string_view market, std::string_view code, const Bar& bar);

private:
    Statement upsert_;
};

}  // namespace server
