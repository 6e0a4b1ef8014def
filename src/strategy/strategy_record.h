#pragma once
// The stored strategy of a stock: one SECRET row per stock and program
// version (genes, stored report, current advice, verification range) with
// its simulated trades as TRADELOG rows; and the strategy's two texts, the
// header naming engine version and stock, and the code string spelling the
// genes as letters.
//
// Texts are GBK. Every value from outside (market, code, report, advice) is
// bound as a parameter; numbers the program produces are written into the
// statement text in fixed forms ("%.3f" prices, "%.2f" profits), so a
// stored value reads back exactly as that text.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "datastore/data_center.h"
#include "datastore/database.h"
#include "datastore/message_sink.h"

// The four parts of the product version, most significant first, as the
// strategy header writes them.
std::vector<uint16_t> ProductVersionParts();

// "引擎版本\r\n◎Tavrin≡a≡b≡c≡d◎\r\n\r\n生成对象\r\n" + market + code from
// engineVersion; empty unless engineVersion holds exactly four parts.
std::string BuildStrategyHeader(const RunParameters& params, const std::string& market, const std::string& code);
std::string BuildStrategyHeader(const CDataCenter& dc);

// The chromosome as the GENE column holds it: each symbol as two bytes,
// little-endian, whatever the machine's order.
std::vector<unsigned char> GeneBlob(const std::vector<int16_t>& symbols);

// "\r\n操盘密码" and one line "\r\n◎letters◎" per gene of bestChromosome:
// symbol s >= 1 is the letter 0x60 + s ('a' .. 'u'), s <= 0 is 0x41 - s
// ('A' not, 'B' and, 'C' or). Empty without a chromosome or gene count.
std::string BuildStrategyCode(const RunParameters& params);

// Saves the current result for the current stock in one transaction: its
// trade log replaces the stock's TRADELOG rows of this version, the SECRET
// row is inserted or updated (report text + "\r\n\r\n\r\n" + header + "\r\n"
// + code string, the current advice and the newest bar's date, the range),
// then the genes are written. When a write fails for the database (not for
// a single trade-log row), shows "数据库写入异常，破译报告无法保存！" with the
// cause on a second line and returns false with the whole save rolled back.
// On success sets reportText, resultSaved and savedInWizard and recomputes
// the per-bar signals.
bool SaveStrategy(Database& db, CDataCenter& dc, const std::string& reportText, const MessageSink& show);

// Loads the current stock's stored strategy of this version into the run
// parameters, after clearing the signals, the trade logs, the history, the
// version, the chromosome and the report. False without a message when the
// stock has no row; false after "数据库读取异常，策略报告无法提取！" when
// the genes do not match NUMS x LENG. A watch-list row without a strategy
// loads as an empty chromosome (true).
bool LoadStoredStrategy(Database& db, CDataCenter& dc, const MessageSink& show);

// The stored report (CRPT) of a stock's strategy of this version, as the
// watch list supplies it to the report dialog; nothing without a row.
std::optional<std::string> LoadStoredReport(Database& db, const std::string& market, const std::string& code);
