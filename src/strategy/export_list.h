#pragma once
// The strategies the export offers: every stored strategy of this program
// version with a stock-list entry and a verification range, whose stored
// report still holds its strategy code string.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "datastore/database.h"
#include "strategy/strategy_entry.h"

// The letters of the three genes in a stored report (GBK): walking its "◎"
// marks in order, the first stretch between two consecutive marks that is
// exactly `length` bytes long is the first gene; each of the two others is
// the `length` bytes after the next "◎\r\n◎". Nothing when there is no such
// stretch or the report ends before the third gene.
std::optional<std::string> FindOpLetters(std::string_view report, int32_t length);

// The export list, ordered by market and code, with this version in every
// entry; nothing selected. Rows whose report holds no gene letters are left
// out. Empty when the query fails.
std::vector<StrategyEntry> ListExportableStrategies(Database& db);
