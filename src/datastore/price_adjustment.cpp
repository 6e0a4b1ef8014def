#include "datastore/price_adjustment.h"

#include "datastore/number_cells.h"

namespace {

// Adjusts bars 0..count-1 for one record. Each price and volume is computed
// in double from the float inputs and rounded to float once, when stored.
// One series at a time, with the record's terms computed once: the elements
// are independent, so the loops vectorise.
void AdjustBars(const DividendRecord& r, size_t count, PriceSeries& s) {
    const double cash = r.cash / 10.0;
    const double rightsCost = static_cast<double>(r.rightsPrice) * r.rights / 10.0;
    const double divisor = 1.0 + r.bonus / 10.0 + r.conversion / 10.0 + r.rights / 10.0;
    for (std::vector<float>* series : {&s.open, &s.high, &s.low, &s.close}) {
        float* price = series->data();
        for (size_t i = 0; i < count; ++i) price[i] = static_cast<float>((price[i] - cash + rightsCost) / divisor);
    }
    const double shares = static_cast<double>(r.bonus) + r.conversion + r.rights;
    const double factor = 1.0 + shares / 10.0;
    float* volume = s.volume.data();
    for (size_t i = 0; i < count; ++i) volume[i] = static_cast<float>(volume[i] * factor);
}

}  // namespace

std::vector<DividendRecord> LoadDividends(Database& db, std::string_view market, std::string_view code) {
    std::vector<DividendRecord> records;
    const bool read = db.ForEachRow(
        "SELECT DDATE, SONGGU, ZHUANZHENG, PAIXI, PEIGU, PPEIGU FROM DIVIDEND WHERE MARKET=? AND CODE=? "
        "ORDER BY DDATE ASC",
        {market, code}, [&records](const Statement& row) {
            records.push_back({CellAsInt(row, 0), CellAsFloat(row, 1), CellAsFloat(row, 2), CellAsFloat(row, 3),
                               CellAsFloat(row, 4), CellAsFloat(row, 5)});
        });
    // A failed query adjusts nothing, even if some rows came before the failure.
    if (!read) records.clear();
    return records;
}

void AdjustPrices(const std::vector<int32_t>& dates, const std::vector<DividendRecord>& records,
                  PriceSeries& series) {
    // The walk stops before the newest bar, so an empty series changes nothing.
    const size_t last = dates.empty() ? 0 : dates.size() - 1;
    for (const DividendRecord& record : records) {
        size_t count = 0;  // the bars from the oldest up to the first not dated before the record
        while (count < last && dates[count] < record.date) ++count;
        AdjustBars(record, count, series);
    }
}
