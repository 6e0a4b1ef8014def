#pragma once
// The run parameters of strategy generation and the working state of the
// current run and of the strategy last produced or loaded. One instance lives
// in the data center, which start-up fills from the settings; the strategy
// code reads and updates it. It lives with the store because it is
// settings-derived state: the store must not reach up into the strategy code. It is not guarded by the data lock: parameter fields
// change only on the user-interface thread while no run is in progress;
// `running` is the one field another thread writes during a run.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "datastore/settings.h"

// One simulated trade.
struct TradeLogEntry {
    int32_t date = 0;     // yyyymmdd
    char kind = 'B';      // 'B' buy, 'S' sell
    float price = 0.0f;
    float profit = 0.0f;  // 0 for a buy; the completed trade's return (fraction) for a sell
    float total = 0.0f;   // 1 plus the profits of this and every earlier sell of the log
};

enum class StrategyStyle : int32_t {
    Auto = 0,        // "自动选择"
    ShortTerm = 1,   // "短线偏好"
    MediumTerm = 2,  // "中线偏好"
    LongTerm = 3,    // "长线偏好"
    Custom = 4,      // "自定义"
};

struct RunParameters {
    // Opaque handle of the window that receives a run's progress; the core
    // never interprets it (progress itself goes through callbacks).
    std::uintptr_t notifyWindow = 0;
    std::vector<TradeLogEntry> tradeLog;      // best strategy over the verification range
    std::vector<TradeLogEntry> testTradeLog;  // test range; cleared with tradeLog, never filled
    std::vector<float> winRateHistory;        // best win ratio so far, one per generation
    int32_t evoluteDays = 960;                // most recent trading days verified on
    int32_t rangeBegin = 0;                   // verification range, yyyymmdd
    int32_t rangeEnd = 0;
    int32_t testBegin = 0;                    // test range, yyyymmdd
    int32_t testEnd = 0;
    float maxTradeLost = 0.15f;               // stored with the settings; no part in the fitness
    int32_t minTradeNums = 10;                // completed trades per 240 days, inclusive bounds
    int32_t maxTradeNums = 20;
    int32_t caseCount = 0;                    // fitness cases of the current run
    float buyCharge = 0.001f;                 // fractions of the amount
    float sellCharge = 0.002f;
    // The generation loop continues while true; cleared by the user-interface
    // thread to stop a run, hence atomic (still one byte).
    std::atomic<bool> running = false;
    int32_t evoluteSteps = 50;                // generations without improvement that end a run
    int32_t populationSize = 100;
    int32_t archiveSize = 5;
    std::vector<int16_t> bestChromosome;      // strategy last produced or loaded
    std::string linkingFunction = "|";
    uint16_t geneCount = 0;
    uint16_t geneLength = 0;
    std::string reportText;                   // GBK; column CRPT
    std::vector<uint16_t> engineVersion;      // the four parts of the product version
    uint32_t generation = 0;                  // stall count after the latest generation
    int32_t generating = 0;
    int32_t resultSaved = 0;
    int32_t savedInWizard = 0;
    StrategyStyle style = StrategyStyle::Auto;
};

// Start-up's reading of the seven numeric settings, in the order
// MIN_TRADE_NUMS, MAX_TRADE_NUMS, EVOLUTE_STEPS, EVOLUTE_DAYS, MAX_TRADE_LOST,
// BUY_CHARGE, SELL_CHARGE; a missing, non-numeric or non-positive value takes
// its fallback (10, 20, 50, 960, 0.1, 0.001, 0.002). Reads through the map's
// index operation, so missing names gain empty entries. `style` is untouched.
void ApplyStartupSettings(RunParameters& params, SettingsMap& settings);

// A setting read as a leading decimal integer; below 1 gives `fallback`.
int32_t IntSetting(const std::string& value, int32_t fallback);
// A setting read as a leading decimal number held as a float; zero or
// negative gives `fallback`.
float RealSetting(const std::string& value, float fallback);
