#pragma once
// CDataCenter: the in-memory home of market data. It holds the stock list and
// the daily bars of one stock at a time (the current stock) in three
// versions: as displayed, unadjusted and adjusted for dividends and rights;
// the indicator generators computed over the adjusted bars; the per-bar
// signals of the stock's stored strategy; and the run parameters.
//
// Data lock: DataLock() guards the current stock's series, the indicator
// outputs and the signals. LoadStock takes it while it replaces them; readers
// (painting, signal evaluation) hold it while they read the references handed
// out below. It is recursive, so a holder may call back into the data center.
// The stock list and the run parameters are not guarded by it.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "chart/indicator_generator.h"
#include "datastore/database.h"
#include "datastore/price_series.h"
#include "datastore/run_parameters.h"
#include "datastore/stock_info.h"

class CDataCenter {
public:
    // At most this many of a stock's most recent bars are held.
    static constexpr size_t kMaxBars = 1200;

    // Without a database LoadStock fails and LoadStockList finds nothing
    // until SetDatabase is called.
    CDataCenter();
    explicit CDataCenter(Database& db);
    CDataCenter(const CDataCenter&) = delete;
    CDataCenter& operator=(const CDataCenter&) = delete;

    // The database the data center reads from; it must outlive its use here.
    void SetDatabase(Database& db) { db_ = &db; }

    // Appends every STOCKCODE row, in SQLite's row order, to the stock list.
    void LoadStockList();

    // Makes the stock current: its newest bars, oldest first, adjusted, with
    // every indicator recomputed. False when the bars cannot be read; the
    // previous stock then stays current.
    bool LoadStock(const std::string& code, const std::string& market);

    // Switches the displayed series between the unadjusted and the adjusted
    // copies and recomputes the indicators.
    void ToggleAdjusted();

    // A copy of line `index` of the generator named `key`; empty when there
    // is no such generator or line.
    std::vector<float> GetIndicatorLine(std::string_view key, size_t index) const;
    // A copy of that generator's parameters; empty when there is none.
    std::vector<float> GetIndicatorParams(std::string_view key) const;
    // Every condition series of every generator, in generator order (21).
    std::vector<std::vector<float>> GetAllConditions() const;

    std::recursive_mutex& DataLock() const { return dataLock_; }

    // Read access for the chart, the strategy and the generation run; hold
    // the data lock while reading.
    const std::vector<int32_t>& Dates() const { return dates_; }
    const PriceSeries& Displayed() const { return displayed_; }
    const PriceSeries& Unadjusted() const { return unadjusted_; }
    const PriceSeries& Adjusted() const { return adjusted_; }
    bool IsAdjusted() const { return isAdjusted_; }
    const std::vector<std::unique_ptr<CIndicatorDataGenerator>>& Generators() const { return generators_; }
    // Trade signal of the stored strategy per bar: written by the signal
    // evaluation, cleared by the view when it opens another stock.
    std::vector<int32_t>& Signals() { return signals_; }
    const std::vector<int32_t>& Signals() const { return signals_; }

    const std::string& Code() const { return code_; }
    const std::string& Market() const { return market_; }
    // The stock's short name (GBK), or "CODE.MARKET" upper-cased when the
    // stock is not in the stock list.
    const std::string& DisplayName() const { return displayName_; }
    // PTYPE of the current stock; kept from the previous stock (0 at first)
    // when the stock is not in the stock list.
    int32_t SecurityType() const { return securityType_; }

    const std::vector<StockInfo>& StockList() const { return stockList_; }
    RunParameters& Parameters() { return parameters_; }
    const RunParameters& Parameters() const { return parameters_; }

private:
    const CIndicatorDataGenerator* FindGenerator(std::string_view key) const;
    struct Bar;  // one DAILY row as read
    void FillBars(const std::vector<Bar>& bars);
    void GenerateIndicators();

    Database* db_ = nullptr;
    std::vector<std::unique_ptr<CIndicatorDataGenerator>> generators_;
    RunParameters parameters_;
    std::string code_;
    std::string market_;
    std::string displayName_;
    int32_t securityType_ = 0;
    std::vector<int32_t> dates_;
    PriceSeries displayed_;
    PriceSeries unadjusted_;
    PriceSeries adjusted_;
    std::vector<int32_t> signals_;
    std::vector<StockInfo> stockList_;
    bool isAdjusted_ = false;
    mutable std::recursive_mutex dataLock_;
};

// The one data center of the program, created on first use.
CDataCenter& TheDataCenter();
