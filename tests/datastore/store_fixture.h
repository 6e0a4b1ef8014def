#pragma once
// Test databases for the datastore and sync tests: the test store and
// bundled data of tests/support, and bars whose close climbs steadily.
#include <gtest/gtest.h>

#include <string>

#include "../support/bundled_data.h"
#include "../support/test_store.h"
#include "datastore/database.h"

namespace store_fixture {

using testing_support::Count;
using testing_support::ImportDaily;
using testing_support::ImportDividends;
using testing_support::InsertBar;
using testing_support::InsertDividend;
using testing_support::InsertStock;
using testing_support::SplitCsv;
using testing_support::Store;

// Bars on consecutive numbers standing in for dates, close = 10 + i / 100.
inline void InsertBars(Database& db, const std::string& market, const std::string& code, int firstDate, int count) {
    db.Exec("BEGIN");
    for (int i = 0; i < count; ++i) {
        const double close = 10 + i / 100.0;
        InsertBar(db, market, code, firstDate + i, close - 0.05, close + 0.1, close - 0.1, close, 1000 + i);
    }
    db.Exec("COMMIT");
}

}  // namespace store_fixture
