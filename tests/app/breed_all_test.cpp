// Breeding the whole watch list from the desktop program: the progress
// dialog over korvel-cli children on a small store.
#include <QProgressBar>
#include <QTableWidget>

#include "app/dialogs/breed_all_dlg.h"
#include "app_fixture.h"
#include "text/gbk.h"

namespace {

using namespace app_test;

// Three stocks with bars and one without (a row of its own in the table).
const char* const kWatched[][2] = {{"SS", "600000"}, {"SZ", "000651"}, {"SS", "600519"}, {"SZ", "300999"}};
constexpr int kBred = 3;

class BreedAllDialog : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::ImportStocks(store_.db());
        for (int i = 0; i < kBred; ++i) testing_support::ImportDaily(store_.db(), kWatched[i][0], kWatched[i][1]);
        for (const auto& stock : kWatched) store_.Watch(stock[0], stock[1]);
    }
    BatchBreed Batch(size_t jobs) const {
        return {KORVEL_CLI_PATH, store_.dir.path().string(), {"--save", "--depth", "2", "--seed", "3"}, jobs};
    }
    // Stored strategies (genes written), and the advice stored for `code`.
    int64_t Bred() { return Count(store_.db(), "SELECT COUNT(*) FROM SECRET WHERE length(GENE) > 0"); }
    std::string StoredAdvice(const std::string& code) {
        return text::GbkToUtf8(Dump(store_.db(), "SELECT INDI FROM SECRET WHERE CODE = '" + code + "'"));
    }
    static std::string Cell(const QTableWidget& table, int row, int column) {
        return table.item(row, column)->text().toStdString();
    }

    AppStore store_;
};

TEST_F(BreedAllDialog, BreedsEveryStockSavesItAndSortsTheTable) {
    CBreedAllDlg dialog(store_.db(), Batch(2));
    std::vector<int> progress;
    QObject::connect(dialog.Progress(), &QProgressBar::valueChanged, [&](int v) { progress.push_back(v); });
    dialog.show();
    ASSERT_TRUE(WaitUntil([&] { return !dialog.Busy(); }, 600000));

    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3, 4}));
    const QTableWidget& table = *dialog.Table();
    ASSERT_EQ(table.rowCount(), 4);
    EXPECT_EQ(Bred(), kBred);
    double previous = 1e9;
    for (int row = 0; row < kBred; ++row) {
        const double accumulated = std::stod(Cell(table, row, 6));
        EXPECT_LE(accumulated, previous) << "row " << row;
        previous = accumulated;
        // The advice shown is the one stored with the new strategy.
        EXPECT_EQ(Cell(table, row, 7) + "|", StoredAdvice(Cell(table, row, 1))) << "row " << row;
        EXPECT_EQ(Cell(table, row, 8), "");
    }
    EXPECT_EQ(Cell(table, 3, 1), "300999");
    EXPECT_EQ(Cell(table, 3, 8), "no daily bars stored for SZ 300999");
    EXPECT_TRUE(dialog.isVisible());
    dialog.reject();  // done: closes
    EXPECT_FALSE(dialog.isVisible());
}

// Closing while it works stops it; the dialog stays for the table, and the
// stocks reported bred are exactly the ones stored.
TEST_F(BreedAllDialog, ClosingStopsAndKeepsWhatWasSaved) {
    CBreedAllDlg dialog(store_.db(), Batch(1));
    dialog.show();
    ASSERT_TRUE(WaitUntil([&] { return dialog.Done() >= 1; }, 600000));
    dialog.reject();
    ASSERT_TRUE(WaitUntil([&] { return !dialog.Busy(); }));
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(dialog.Table()->rowCount(), 4);
    int64_t bred = 0;
    for (const BreedOutcome& o : dialog.Outcomes()) bred += o.summary ? 1 : 0;
    EXPECT_LT(bred, kBred);
    EXPECT_EQ(Bred(), bred);
}

}  // namespace
