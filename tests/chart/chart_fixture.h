#pragma once
// A chart over a test store: literal bars loaded into a data center, drawn
// by CChart into an image of 1070 x 630 pixels. At that size the layout
// arithmetic gives round numbers: main plot x 60, y 35, 1000 x 380; date
// strip from y 435, 13 high; sub-chart area y 448 to 615. With 10 bars
// requested the pitch is 100 and the body gap 15.
#include <gtest/gtest.h>

#include <QImage>
#include <QSize>

#include <vector>

#include "../support/test_store.h"
#include "chart/paint/chart.h"
#include "datastore/data_center.h"

namespace chart_test {

struct Bar {
    int date;
    double open, high, low, close;
    double volume = 1000;
};

inline const QSize kSize(1070, 630);
constexpr int kPlotX = 60;
constexpr int kPlotY = 35;
constexpr int kPlotH = 380;
constexpr int kStripY = 435;

class ChartTest : public ::testing::Test {
protected:
    void Load(const std::vector<Bar>& bars, int securityType = 1) {
        testing_support::InsertStock(store_.db(), "SS", "600000", "PF", "PF", securityType);
        store_.db().Exec("BEGIN");
        for (const Bar& b : bars)
            testing_support::InsertBar(store_.db(), "SS", "600000", b.date, b.open, b.high, b.low, b.close, b.volume);
        store_.db().Exec("COMMIT");
        dc_.LoadStockList();
        ASSERT_TRUE(dc_.LoadStock("600000", "SS"));
    }

    // The chart in `state`; the cross-hair's horizontal line moved to row
    // `crossY` (when given) so it stays off the pixels a test looks at.
    const QImage& Render(const ChartState& state, int crossY = -1) {
        chart_.Apply(state, kSize);
        if (crossY >= 0) chart_.Screen().crossY = crossY;
        return chart_.Paint(kSize);
    }

    testing_support::Store store_;
    CDataCenter dc_{store_.db()};
    CChart chart_{dc_};
};

// A state with `count` bar slots from bar 0, no indicators and no marks.
inline ChartState Plain(int count, int first = 0) {
    ChartState state;
    state.requestedCount = count;
    state.firstVisible = first;
    state.subIndicator.clear();
    state.marks = false;
    return state;
}

}  // namespace chart_test
