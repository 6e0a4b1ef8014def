#include "datastore/data_center.h"

#include "datastore/number_cells.h"
#include "datastore/price_adjustment.h"
#include "text/parse.h"

namespace {

// Room reserved once for every series, so loading never reallocates them.
constexpr size_t kReservedBars = 2000;

void Reserve(PriceSeries& s) {
    for (std::vector<float>* series : {&s.open, &s.high, &s.low, &s.close, &s.volume})
        series->reserve(kReservedBars);
}

void Clear(PriceSeries& s) {
    for (std::vector<float>* series : {&s.open, &s.high, &s.low, &s.close, &s.volume}) series->clear();
}

// Upper-cases ASCII letters only and leaves both bytes of every GBK
// character alone (a GBK trail byte may fall in the range of 'a'..'z').
std::string ToUpperGbk(std::string s) {
    for (size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c >= 0x81 && c <= 0xFE) ++i;
        else if (c >= 'a' && c <= 'z') s[i] = static_cast<char>(c - 'a' + 'A');
    }
    return s;
}

}  // namespace

CDataCenter::CDataCenter() : generators_(CreateIndicatorGenerators()) {
    dates_.reserve(kReservedBars);
    for (PriceSeries* s : {&displayed_, &unadjusted_, &adjusted_}) Reserve(*s);
}

CDataCenter::CDataCenter(Database& db) : CDataCenter() { db_ = &db; }

void CDataCenter::LoadStockList() {
    if (db_ == nullptr) return;
    const std::optional<TextTable> rows = db_->GetTable("SELECT MARKET, CODE, ABBR, PINYIN, PTYPE FROM STOCKCODE");
    if (!rows) return;
    for (size_t row = 0; row < rows->RowCount(); ++row) {
        stockList_.push_back({rows->At(row, 0), rows->At(row, 1), rows->At(row, 2), rows->At(row, 3),
                              text::ParseInt(rows->At(row, 4))});
    }
}

struct CDataCenter::Bar {
    float open, high, low, close, volume;
    int32_t date;
};

bool CDataCenter::LoadStock(const std::string& code, const std::string& market) {
    if (db_ == nullptr) return false;
    // The query runs before the lock is taken, so a paint waits only for the
    // in-memory work. Rows arrive newest first.
    std::vector<Bar> bars;
    bars.reserve(kMaxBars);
    const bool read = db_->ForEachRow(
        "SELECT DOPEN, DHIGH, DLOW, DCLOSE, VOLUME, DDATE FROM DAILY WHERE MARKET = ? AND CODE = ? ORDER BY "
        "DDATE DESC LIMIT 0, 1200",
        {market, code}, [&bars](const Statement& row) {
            bars.push_back({CellAsFloat(row, 0), CellAsFloat(row, 1), CellAsFloat(row, 2), CellAsFloat(row, 3),
                            CellAsFloat(row, 4), CellAsInt(row, 5)});
        });
    if (!read) return false;
    // The dividend records are read before the lock too: a paint never waits
    // for the database.
    const std::vector<DividendRecord> dividends = LoadDividends(*db_, market, code);

    const std::lock_guard lock(dataLock_);
    FillBars(bars);
    unadjusted_ = displayed_;
    adjusted_ = displayed_;
    isAdjusted_ = false;

    code_ = code;
    market_ = market;
    displayName_ = ToUpperGbk(code + "." + market);
    AdjustPrices(dates_, dividends, adjusted_);

    for (const StockInfo& info : stockList_) {
        if (info.code == code && info.market == market) {
            displayName_ = info.abbr;
            securityType_ = info.ptype;
            break;
        }
    }
    GenerateIndicators();
    return true;
}

// `bars` run newest first; the series run oldest first.
void CDataCenter::FillBars(const std::vector<Bar>& bars) {
    const size_t n = bars.size();
    dates_.clear();
    for (PriceSeries* s : {&displayed_, &unadjusted_, &adjusted_}) Clear(*s);
    dates_.resize(n);
    for (std::vector<float>* series :
         {&displayed_.open, &displayed_.high, &displayed_.low, &displayed_.close, &displayed_.volume})
        series->resize(n);
    for (size_t row = 0; row < n; ++row) {
        const size_t i = n - 1 - row;
        displayed_.open[i] = bars[row].open;
        displayed_.high[i] = bars[row].high;
        displayed_.low[i] = bars[row].low;
        displayed_.close[i] = bars[row].close;
        displayed_.volume[i] = bars[row].volume;
        dates_[i] = bars[row].date;
    }
}

void CDataCenter::ToggleAdjusted() {
    // Taken although the toggle runs on the painting thread: a load on the
    // synchronisation worker must not interleave with it.
    const std::lock_guard lock(dataLock_);
    displayed_ = isAdjusted_ ? unadjusted_ : adjusted_;
    isAdjusted_ = !isAdjusted_;
    GenerateIndicators();
}

void CDataCenter::GenerateIndicators() {
    const IndicatorInput input{adjusted_.close, adjusted_.high, adjusted_.low, adjusted_.volume};
    for (const auto& generator : generators_) generator->Generate(input);
}

const CIndicatorDataGenerator* CDataCenter::FindGenerator(std::string_view key) const {
    for (const auto& generator : generators_)
        if (key == generator->GetName()) return generator.get();
    return nullptr;
}

std::vector<float> CDataCenter::GetIndicatorLine(std::string_view key, size_t index) const {
    const std::lock_guard lock(dataLock_);
    const CIndicatorDataGenerator* generator = FindGenerator(key);
    if (generator == nullptr || index >= generator->lines.size()) return {};
    return generator->lines[index];
}

std::vector<float> CDataCenter::GetIndicatorParams(std::string_view key) const {
    const CIndicatorDataGenerator* generator = FindGenerator(key);
    return generator ? generator->params : std::vector<float>{};
}

std::vector<std::vector<float>> CDataCenter::GetAllConditions() const {
    const std::lock_guard lock(dataLock_);
    std::vector<std::vector<float>> all;
    for (const auto& generator : generators_)
        all.insert(all.end(), generator->conditions.begin(), generator->conditions.end());
    return all;
}

CDataCenter& TheDataCenter() {
    static CDataCenter dataCenter;
    return dataCenter;
}
