#include "datastore/data_center.h"

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

float ParseFloat(const std::string& s) { return static_cast<float>(text::ParseReal(s)); }

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

bool CDataCenter::LoadStock(const std::string& code, const std::string& market) {
    if (db_ == nullptr) return false;
    // The query runs before the lock is taken, so a paint waits only for the
    // in-memory work.
    const std::optional<TextTable> rows = db_->GetTable(
        "SELECT DOPEN, DHIGH, DLOW, DCLOSE, VOLUME, DDATE FROM DAILY WHERE MARKET = ? AND CODE = ? ORDER BY "
        "DDATE DESC LIMIT 0, 1200",
        {market, code});
    if (!rows) return false;

    const std::lock_guard lock(dataLock_);
    FillBars(*rows);
    unadjusted_ = displayed_;
    adjusted_ = displayed_;
    isAdjusted_ = false;

    code_ = code;
    market_ = market;
    displayName_ = ToUpperGbk(code + "." + market);
    AdjustPrices(dates_, LoadDividends(*db_, market, code), adjusted_);

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

// Rows arrive newest first; the series run oldest first.
void CDataCenter::FillBars(const TextTable& rows) {
    const size_t n = rows.RowCount();
    dates_.clear();
    for (PriceSeries* s : {&displayed_, &unadjusted_, &adjusted_}) Clear(*s);
    dates_.resize(n);
    for (std::vector<float>* series :
         {&displayed_.open, &displayed_.high, &displayed_.low, &displayed_.close, &displayed_.volume})
        series->resize(n);
    for (size_t row = 0; row < n; ++row) {
        const size_t i = n - 1 - row;
        displayed_.open[i] = ParseFloat(rows.At(row, 0));
        displayed_.high[i] = ParseFloat(rows.At(row, 1));
        displayed_.low[i] = ParseFloat(rows.At(row, 2));
        displayed_.close[i] = ParseFloat(rows.At(row, 3));
        displayed_.volume[i] = ParseFloat(rows.At(row, 4));
        dates_[i] = text::ParseInt(rows.At(row, 5));
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
