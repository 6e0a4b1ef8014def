#pragma once
// Checks of the server's daily bars and dividend records before they are
// stored: a record that cannot describe a real trading day or a real
// distribution is refused (and counted by the caller), so it never reaches
// the watch list, the chart or breeding. Real data passes unchanged: a
// vendor's bar whose open or close lies outside its high and low is kept;
// only a high below the low is impossible.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

// A record's six fields as the reply gives them (plain numbers), nothing
// for SQL NULL: date, open, high, low, close, volume for a bar; date,
// songgu, zhuanzheng, paixi, peigu, ppeigu for a dividend record.
using RecordFields = std::array<std::optional<std::string>, 6>;

// A real bar: a calendar date no later than `latestDate`, four positive
// prices that a float holds (no infinity, no 1e308), high not below low,
// and a volume that is NULL or not negative.
bool IsPossibleBar(const RecordFields& fields, int32_t latestDate);

// A real dividend record: a calendar date and five figures that are not
// negative and that a float holds.
bool IsPossibleDividend(const RecordFields& fields);

// True for yyyymmdd dates of the Gregorian calendar from 1900 on (before
// any exchange whose data the program keeps).
bool IsCalendarDate(int64_t yyyymmdd);

// The latest date a bar may carry: tomorrow by the local clock (a server in
// another time zone may already be a day ahead).
int32_t LatestBarDate();
