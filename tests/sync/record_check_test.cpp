// The checks a server's bars and dividend records pass before they are
// stored: every kind of impossible record is refused, every real one kept.
#include <gtest/gtest.h>

#include <filesystem>

#include "../support/bundled_data.h"
#include "sync/record_check.h"

namespace {

RecordFields Fields(const std::vector<std::string>& texts) {
    RecordFields fields;
    for (size_t i = 0; i < fields.size() && i < texts.size(); ++i)
        if (texts[i] != "NULL") fields[i] = texts[i];
    return fields;
}

constexpr int32_t kLatest = 20240105;

// The boundaries; every kind of impossible record also goes through a
// whole synchronisation in honest_sync_test.cpp.
TEST(RecordCheck, BoundariesOfThePossible) {
    const struct {
        std::vector<std::string> bar;
        bool possible;
    } bars[] = {
        {{"20240105", "10", "11", "9", "10.5", "NULL"}, true},  // tomorrow; no volume
        {{"20240104", "12", "11", "9", "8", "0"}, true},        // open above high, close below low: a vendor's bar
        {{"20000229", "1e-3", "1e-3", "1e-3", "1e-3", "0"}, true},
        {{"20240106", "10", "11", "9", "10", "1"}, false},
        {{"20230229", "10", "11", "9", "10", "1"}, false},
        {{"18991231", "10", "11", "9", "10", "1"}, false},
        {{"20240104.5", "10", "11", "9", "10", "1"}, false},
        {{"202201033333333333333333333334", "10", "11", "9", "10", "1"}, false},  // beyond int64_t (fuzzing)
        {{"20240104", "NULL", "11", "9", "10", "1"}, false},
        {{"20240104", "10", "11", "9", "10", "1e39"}, false},
    };
    for (const auto& c : bars) EXPECT_EQ(IsPossibleBar(Fields(c.bar), kLatest), c.possible) << c.bar[0] << c.bar[1];
    EXPECT_TRUE(IsPossibleDividend(Fields({"20991231", "1", "0", "2.5", "0", "0"})));  // ex-date still ahead
    EXPECT_FALSE(IsPossibleDividend(Fields({"20240104", "0", "NULL", "1", "0", "0"})));
}

}  // namespace
