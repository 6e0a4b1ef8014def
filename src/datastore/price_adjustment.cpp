#include "datastore/price_adjustment.h"

#include "text/parse.h"

namespace {

float ParseFloat(const std::string& s) { return static_cast<float>(text::ParseReal(s)); }

// Each price and volume is computed in double from the float inputs and
// rounded to float once, when stored.
void AdjustBar(const DividendRecord& r, size_t i, PriceSeries& s) {
    const double cash = r.cash / 10.0;
    const double rightsCost = static_cast<double>(r.rightsPrice) * r.rights / 10.0;
    const double divisor = 1.0 + r.bonus / 10.0 + r.conversion / 10.0 + r.rights / 10.0;
    for (std::vector<float>* price : {&s.open, &s.high, &s.low, &s.close}) {
        float& old = (*price)[i];
        old = static_cast<float>((old - cash + rightsCost) / divisor);
    }
    const double shares = static_cast<double>(r.bonus) + r.conversion + r.rights;
    s.volume[i] = static_cast<float>(s.volume[i] * (1.0 + shares / 10.0));
}

}  // namespace

std::vector<DividendRecord> LoadDividends(Database& db, std::string_view market, std::string_view code) {
    const std::optional<TextTable> rows = db.GetTable(
        "SELECT DDATE, SONGGU, ZHUANZHENG, PAIXI, PEIGU, PPEIGU FROM DIVIDEND WHERE MARKET=? AND CODE=? "
        "ORDER BY DDATE ASC",
        {market, code});
    std::vector<DividendRecord> records;
    if (!rows) return records;
    for (size_t row = 0; row < rows->RowCount(); ++row) {
        records.push_back({text::ParseInt(rows->At(row, 0)), ParseFloat(rows->At(row, 1)),
                           ParseFloat(rows->At(row, 2)), ParseFloat(rows->At(row, 3)),
                           ParseFloat(rows->At(row, 4)), ParseFloat(rows->At(row, 5))});
    }
    return records;
}

void AdjustPrices(const std::vector<int32_t>& dates, const std::vector<DividendRecord>& records,
                  PriceSeries& series) {
    // The walk stops before the newest bar, so an empty series changes nothing.
    const size_t last = dates.empty() ? 0 : dates.size() - 1;
    for (const DividendRecord& record : records)
        for (size_t i = 0; i < last && dates[i] < record.date; ++i) AdjustBar(record, i, series);
}
