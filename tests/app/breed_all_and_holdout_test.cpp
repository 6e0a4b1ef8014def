// Breeding the whole watch list from the desktop program (the progress
// dialog over korvel-cli children on a small store) and the wizard's
// out-of-sample option against what `korvel-cli breed --holdout` prints.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>

#include "../support/run_process.h"
#include "app/dialog_commands.h"
#include "app/dialogs/breed_all_dlg.h"
#include "app/frame_actions.h"
#include "app/korvel_view.h"
#include "app/wizard/platform_dlg.h"
#include "app/wizard/report_page.h"
#include "app/wizard/rorozo_page.h"
#include "app/wizard/time_range_page.h"
#include "app_fixture.h"
#include "dialog_fixture.h"
#include "text/gbk.h"

namespace {

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
    // Stored strategies (genes written) and their advice, per stock.
    std::map<std::string, std::string> StoredAdvice() {
        std::map<std::string, std::string> advice;
        const TextTable t = store_.db()
                                .GetTable("SELECT MARKET || CODE, INDI FROM SECRET WHERE length(GENE) > 0")
                                .value_or(TextTable{});
        for (size_t r = 0; r < t.RowCount(); ++r) advice[t.At(r, 0)] = text::GbkToUtf8(t.At(r, 1));
        return advice;
    }
    static std::string Cell(const QTableWidget& table, int row, int column) {
        return table.item(row, column)->text().toStdString();
    }

    app_test::AppStore store_;
};

TEST_F(BreedAllDialog, OfferedWithWatchedStocksOnly) {
    QWidget owner;
    FrameActions actions(&owner);
    store_.db().Exec("DELETE FROM SECRET");
    CKorvelView view(store_.session, actions);
    new DialogCommands(store_.session, actions, view);
    ASSERT_TRUE(app_test::WaitUntil([&] { return !view.IsBusy(); }));
    EXPECT_FALSE(actions.breedWatchList->isEnabled());
    store_.Watch("SS", "600000");
    view.FillList();
    EXPECT_TRUE(actions.breedWatchList->isEnabled());
}

TEST_F(BreedAllDialog, BreedsEveryStockSavesItAndSortsTheTable) {
    CBreedAllDlg dialog(store_.db(), Batch(2));
    std::vector<int> progress;
    QObject::connect(dialog.Progress(), &QProgressBar::valueChanged, [&](int v) { progress.push_back(v); });
    dialog.show();
    ASSERT_TRUE(app_test::WaitUntil([&] { return !dialog.Busy(); }, 600000));

    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(dialog.Progress()->maximum(), 4);
    const QTableWidget& table = *dialog.Table();
    ASSERT_EQ(table.rowCount(), 4);
    const std::map<std::string, std::string> stored = StoredAdvice();
    ASSERT_EQ(stored.size(), static_cast<size_t>(kBred));
    double previous = 1e9;
    for (int row = 0; row < kBred; ++row) {
        const double accumulated = std::stod(Cell(table, row, 6));
        EXPECT_LE(accumulated, previous) << "row " << row;
        previous = accumulated;
        // The advice shown is the one stored with the new strategy.
        EXPECT_EQ(Cell(table, row, 7), stored.at(Cell(table, row, 0) + Cell(table, row, 1))) << "row " << row;
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
    ASSERT_TRUE(app_test::WaitUntil([&] { return dialog.Done() >= 1; }, 600000));
    dialog.reject();
    ASSERT_TRUE(app_test::WaitUntil([&] { return !dialog.Busy(); }));
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(dialog.Table()->rowCount(), 4);
    size_t bred = 0;
    for (const BreedOutcome& o : dialog.Outcomes()) bred += o.summary ? 1 : 0;
    EXPECT_LT(bred, static_cast<size_t>(kBred));
    EXPECT_EQ(StoredAdvice().size(), bred);
}

// The wizard with "样本外检验" on breeds without the newest 120 days and its
// fourth tab shows the block the command line prints for the same seed;
// turned off again, the next run uses the whole range and the tab goes.
class WizardHoldout : public testing_support::EngineTest {};

TEST_F(WizardHoldout, FourthTabMatchesTheCommandLineAndGoesWhenTurnedOff) {
    dialog_test::PufaStore pufa;
    dialog_test::AnsweredMessages messages;
    GEP::setClockSeedOverride(7);
    pufa.dc->Parameters().evoluteSteps = 4;
    const std::vector<int32_t>& dates = pufa.dc->Dates();
    const RunParameters& params = pufa.dc->Parameters();

    CPlatformDlg wizard(WizardContext{pufa.db(), pufa.settings, *pufa.dc, {}});
    wizard.show();
    auto* range = qobject_cast<CTimeRangePage*>(wizard.ActivePage());
    ASSERT_NE(range, nullptr);
    EXPECT_FALSE(range->HoldoutBox()->isChecked());
    EXPECT_EQ(range->HoldoutDaysBox()->value(), 120);
    range->HoldoutBox()->setChecked(true);
    EXPECT_EQ(params.rangeEnd, dates[dates.size() - 121]);

    const auto runAndReport = [&] {
        wizard.Next();
        auto* run = qobject_cast<CTheRorozoPage*>(wizard.ActivePage());
        EXPECT_TRUE(run != nullptr && dialog_test::WaitFor([&] { return !run->Generating(); }));
        wizard.Next();
        return qobject_cast<CTheReportPage*>(wizard.ActivePage())->Tabs();
    };
    QTabWidget* tabs = runAndReport();
    ASSERT_TRUE(tabs->isTabVisible(3));
    EXPECT_EQ(tabs->tabText(3), "样本外检验");
    const std::string shown = tabs->widget(3)->findChild<QPlainTextEdit*>()->toPlainText().toStdString();

    testing_support::Store cli;
    testing_support::ImportPufa(cli.db());
    const testing_support::ProcessResult breed = testing_support::RunCli(
        cli.dir().path(), {"breed", "SS", "600000", "--holdout", "120", "--depth", "4", "--seed", "7"});
    ASSERT_EQ(breed.exitCode, 0) << breed.err;
    const size_t block = breed.out.find("=========样本外检验");
    ASSERT_NE(block, std::string::npos) << breed.out;
    EXPECT_EQ(shown + "\n", breed.out.substr(block));
    // The headline: the block's two returns, the strategy's first.
    const auto figure = [&](const std::string& name) {
        const size_t at = breed.out.find(name, block) + name.size();
        return breed.out.substr(at, breed.out.find(' ', at) - at);
    };
    EXPECT_EQ(tabs->widget(3)->findChild<QLabel*>()->text().toStdString(),
              "最近 120 个交易日：策略累计盈利 " + figure("累计盈利: ") + " %，同期买入持有 " + figure("同期买入持有: ") +
                  " %");

    wizard.Back();
    wizard.Back();
    range->HoldoutBox()->setChecked(false);
    EXPECT_EQ(params.rangeEnd, dates.back());
    EXPECT_FALSE(runAndReport()->isTabVisible(3));
    EXPECT_EQ(params.rangeEnd, dates.back());
    messages.answers = {true};
    wizard.reject();
}

}  // namespace
