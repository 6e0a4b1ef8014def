#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

#include "../support/temp_dir.h"
#include "datastore/number_cells.h"
#include "text/parse.h"

namespace {

// Every cell must read exactly as its text form parsed would, whatever
// SQLite stored: REAL, INTEGER, TEXT or NULL.
class NumberCells : public ::testing::Test {
protected:
    void SetUp() override {
        std::optional<Database> db = Database::Open((dir_ / "cells.db3").string());
        ASSERT_TRUE(db);
        db_.emplace(std::move(*db));
        ASSERT_TRUE(db_->Exec("CREATE TABLE C (V)"));  // no affinity: values stay as bound
        db_->Exec("BEGIN");
    }

    void Add(const SqlValue& v) { ASSERT_TRUE(db_->Exec("INSERT INTO C VALUES(?)", {v})); }

    void ExpectReadsLikeText() {
        db_->Exec("COMMIT");
        int checked = 0;
        ASSERT_TRUE(db_->ForEachRow("SELECT V FROM C", {}, [&](const Statement& row) {
            const std::string text = row.ColumnText(0);
            const float expected = static_cast<float>(text::ParseReal(text));
            const float actual = CellAsFloat(row, 0);
            EXPECT_EQ(std::bit_cast<uint32_t>(actual), std::bit_cast<uint32_t>(expected)) << "'" << text << "'";
            EXPECT_EQ(CellAsInt(row, 0), text::ParseInt(text)) << "'" << text << "'";
            ++checked;
        }));
        EXPECT_GT(checked, 0);
    }

    testing_support::TempDir dir_;
    std::optional<Database> db_;
};

TEST_F(NumberCells, SpecialValues) {
    const double midpoint = 1.0 + 3.0 * std::ldexp(1.0, -24);  // halfway between two floats
    for (double d : {0.0, -0.0, 27.75, 0.1, 10.25, 174085100.0, 29679731.0, 16777217.0, midpoint,
                     std::nextafter(midpoint, 0.0), std::nextafter(midpoint, 2.0), 1e20, -1.5e-3, 3.4028235e38, 1e39,
                     -1e39, 1e-50, 20200101.0, 2.5e9, -2.5e9})
        Add(d);
    for (int64_t i : {int64_t{0}, int64_t{20200101}, int64_t{-7}, int64_t{16777217}, int64_t{3000000000},
                      int64_t{9007199254740993}, std::numeric_limits<int64_t>::max(),
                      std::numeric_limits<int64_t>::min()})
        Add(i);
    for (const char* s : {"", " 12abc", "0x10", "inf", "nan", "1e5", "-", "20200101", "  -3.75e1x", "abc"}) Add(s);
    Add(nullptr);
    ExpectReadsLikeText();
}

// Prices as the server sends them, and doubles right next to the rounding
// boundaries between floats, where 15 digits of text can tip the rounding.
TEST_F(NumberCells, PricesAndNearBoundaryValues) {
    std::mt19937_64 random(12345);
    for (int i = 0; i < 2000; ++i) Add(std::uniform_int_distribution<int>(1, 500000)(random) / 100.0);
    for (int i = 0; i < 2000; ++i) {
        const float f = std::uniform_real_distribution<float>(0.01f, 100000.0f)(random);
        const double boundary = (static_cast<double>(f) + std::nextafter(f, INFINITY)) / 2;
        double d = boundary;
        // Mostly within 300 units in the last place, some around the quick
        // test's threshold of 2048 units.
        const int reach = i % 4 == 0 ? 2200 : 300;
        const int steps = std::uniform_int_distribution<int>(-reach, reach)(random);
        for (int s = 0; s < std::abs(steps); ++s) d = std::nextafter(d, steps < 0 ? 0.0 : INFINITY);
        Add(d);
    }
    ExpectReadsLikeText();
}

}  // namespace
