// The strategy wizard: whole runs through the three pages (the frame's
// buttons on the way) against what `korvel-cli breed --holdout 120 --save`
// prints and stores, and the refusals during a run held at its first
// evaluation.
#include <future>

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>

#include "../support/engine_state.h"
#include "../support/run_process.h"
#include "app/dialogs/report_dlg.h"
#include "app/wizard/platform_dlg.h"
#include "app/wizard/report_page.h"
#include "app/wizard/rorozo_page.h"
#include "app/wizard/time_range_page.h"
#include "app_fixture.h"
#include "strategy/fast_evaluator.h"
#include "strategy/strategy_record.h"

namespace {

using namespace app_test;

struct Buttons {
    bool back, next, finish;
    bool operator==(const Buttons&) const = default;
};

Buttons StateOf(const CNewWizDialog& w) {
    return {w.BackButton()->isEnabled(), w.NextButton()->isEnabled(), w.FinishButton()->isEnabled()};
}

constexpr int kDepth = 4;
constexpr int kSeed = 7;

class WizardRunTest : public testing_support::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        GEP::setClockSeedOverride(kSeed);
        testing_support::ImportPufa(store_.db());  // SS 600000's bundled history
        store_.dc.LoadStockList();
        ASSERT_TRUE(store_.dc.LoadStock("600000", "SS"));
        store_.dc.Parameters().evoluteSteps = kDepth;
    }
    WizardContext Context(GEP::Algorithm<TraderIndividual>::Evaluator evaluator = {}) {
        return {store_.db(), store_.session.store->settings, store_.dc, std::move(evaluator)};
    }
    const RunParameters& Params() { return store_.dc.Parameters(); }

    AppStore store_;
    AnsweredMessages messages_;
};

const char* kSecret = "SELECT MARKET, CODE, VRSN, NUMS, LENG, hex(GENE), CRPT, UDAY, INDI, DBGN, DEND FROM SECRET";
const char* kTradeLog = "SELECT * FROM TRADELOG ORDER BY DDATE";

// "累计盈利: 5.00 %" of a report gives "5.00".
QString Figure(const QString& report, const QString& name) {
    const qsizetype at = report.indexOf(name) + name.size();
    return report.mid(at, report.indexOf(QLatin1Char(' '), at) - at);
}

// A run with "样本外检验" on, through the three pages: the newest 120 days
// left out, the report's fourth tab showing the block the command line
// prints, the strategy saved as `korvel-cli breed --holdout 120 --save`
// stores it. Turned off again, the next run uses the whole range, the tab
// goes, and finishing saves that run.
TEST_F(WizardRunTest, BreedsThroughThePagesAndSavesWhatTheCommandLineSaves) {
    CPlatformDlg wizard(Context());
    wizard.show();
    auto* range = qobject_cast<CTimeRangePage*>(wizard.ActivePage());
    ASSERT_NE(range, nullptr);
    EXPECT_EQ(StateOf(wizard), (Buttons{false, true, false}));
    const std::vector<int32_t>& dates = store_.dc.Dates();
    EXPECT_EQ(Params().rangeBegin, dates[dates.size() - 480]);
    range->HoldoutBox()->setChecked(true);
    const int32_t end = dates[dates.size() - 121];
    EXPECT_EQ(Params().rangeEnd, end);
    EXPECT_EQ(range->RangeText(), QString::asprintf("%04d-%02d-%02d - %04d-%02d-%02d", Params().rangeBegin / 10000,
                                                    Params().rangeBegin / 100 % 100, Params().rangeBegin % 100,
                                                    end / 10000, end / 100 % 100, end % 100));

    wizard.Next();
    auto* run = qobject_cast<CTheRorozoPage*>(wizard.ActivePage());
    ASSERT_NE(run, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return !run->Generating(); }));
    const size_t generations = Params().winRateHistory.size();
    ASSERT_GT(generations, static_cast<size_t>(kDepth) - 1);
    EXPECT_TRUE(run->StatusText().endsWith(QString::asprintf("生成完毕 - 共优选[ %zu ]轮 ", generations)))
        << run->StatusText().toStdString();
    EXPECT_EQ(StateOf(wizard), (Buttons{true, true, false}));
    wizard.Back();
    EXPECT_EQ(StateOf(wizard), (Buttons{false, true, false}));
    wizard.Next();
    EXPECT_FALSE(run->Generating());
    EXPECT_EQ(Params().winRateHistory.size(), generations);

    wizard.Next();
    auto* report = qobject_cast<CTheReportPage*>(wizard.ActivePage());
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(StateOf(wizard), (Buttons{true, false, true}));
    QTabWidget* tabs = report->Tabs();
    const QString reportText = static_cast<QPlainTextEdit*>(tabs->widget(0))->toPlainText();
    const RunLabels labels = LabelsOf(run->Picture());
    EXPECT_EQ(labels.accumulated, "累计盈利: " + Figure(reportText, "累计盈利: ") + "%");
    EXPECT_EQ(labels.compound, "复利盈利: " + Figure(reportText, "复利盈利: ") + "%");
    EXPECT_EQ(labels.winRate, "策略胜率: " + Figure(reportText, "策略胜率: "));
    EXPECT_EQ(static_cast<QTableWidget*>(tabs->widget(1))->rowCount(), Params().tradeLog.size());
    ASSERT_TRUE(tabs->isTabVisible(3));

    wizard.reject();  // unsaved: asks, and No keeps the wizard open
    EXPECT_EQ(messages_.asked, std::vector<QString>{"生成的操盘策略没有保存，仍然要取消吗？"});
    EXPECT_TRUE(wizard.isVisible());
    ASSERT_TRUE(report->SaveButton()->isEnabled());
    QTest::mouseClick(report->SaveButton(), Qt::LeftButton);
    EXPECT_FALSE(report->SaveButton()->isEnabled());
    EXPECT_TRUE(report->OnQueryCancel());  // saved: no question
    EXPECT_EQ(messages_.asked.size(), 1u);

    testing_support::Store cli;
    testing_support::ImportPufa(cli.db());
    const testing_support::ProcessResult breed = testing_support::RunCli(
        cli.dir().path(), {"breed", "SS", "600000", "--depth", std::to_string(kDepth), "--seed",
                           std::to_string(kSeed), "--holdout", "120", "--save"});
    ASSERT_EQ(breed.exitCode, 0) << breed.err;
    EXPECT_EQ(Dump(store_.db(), kSecret), Dump(cli.db(), kSecret));
    EXPECT_EQ(Dump(store_.db(), kTradeLog), Dump(cli.db(), kTradeLog));
    EXPECT_NE(Dump(cli.db(), kTradeLog), "");
    const size_t block = breed.out.find("=========样本外检验");
    const size_t saved = breed.out.find("\nsaved SS 600000");
    ASSERT_TRUE(block != std::string::npos && saved != std::string::npos) << breed.out;
    const QString printed = QString::fromStdString(breed.out.substr(block, saved - block));
    EXPECT_EQ(tabs->widget(3)->findChild<QPlainTextEdit*>()->toPlainText() + "\n", printed);
    // The headline: the block's two returns, the strategy's first.
    EXPECT_EQ(tabs->widget(3)->findChild<QLabel*>()->text(), "最近 120 个交易日：策略累计盈利 " +
                                                                 Figure(printed, "累计盈利: ") + " %，同期买入持有 " +
                                                                 Figure(printed, "同期买入持有: ") + " %");
    CReportDlg stored(store_.db(), "SS", "600000", LoadStoredReport(store_.db(), "SS", "600000").value_or(""));
    EXPECT_EQ(static_cast<QTableWidget*>(stored.Tabs()->widget(1))->rowCount(), Params().tradeLog.size());
    EXPECT_TRUE(static_cast<QPlainTextEdit*>(stored.Tabs()->widget(2))->toPlainText().startsWith("引擎版本"));

    wizard.Back();
    wizard.Back();
    range->HoldoutBox()->setChecked(false);
    wizard.Next();
    ASSERT_TRUE(WaitUntil([&] { return !run->Generating(); }));
    wizard.Next();
    EXPECT_FALSE(tabs->isTabVisible(3));
    EXPECT_EQ(wizard.findChildren<QTabWidget*>().size(), 1) << "each page is created once";
    EXPECT_EQ(Params().rangeEnd, dates.back());
    store_.db().Exec("DELETE FROM TRADELOG");  // finishing saves the second run
    wizard.Finish();
    EXPECT_EQ(wizard.result(), QDialog::Accepted);
    EXPECT_EQ(Dump(store_.db(), "SELECT DEND FROM SECRET"), std::to_string(dates.back()) + "|");
    EXPECT_GT(Count(store_.db(), "SELECT COUNT(*) FROM TRADELOG"), 0);
}

// Every evaluation waits until `opened` is ready.
GEP::Algorithm<TraderIndividual>::Evaluator HeldEvaluator(std::shared_future<void> opened) {
    auto fast = std::make_shared<FastEvaluator>();
    return [opened, fast](std::span<TraderIndividual* const> batch, const std::vector<TradingRecord>& cases) {
        opened.wait();
        fast->evaluate(batch, cases);
    };
}

TEST_F(WizardRunTest, RefusesMovesDuringARunAndStartsAFreshRunAfterAnEarlyStop) {
    std::promise<void> gate;
    store_.dc.Signals() = {7, 7, 7};
    QTimer::singleShot(0, [&] {
        auto* wizard = qobject_cast<CPlatformDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(wizard, nullptr);
        wizard->Next();
        auto* run = qobject_cast<CTheRorozoPage*>(wizard->ActivePage());
        if (run == nullptr || !run->Generating()) {
            ADD_FAILURE() << "no run held at its first evaluation";
            gate.set_value();
            return wizard->done(QDialog::Rejected);
        }
        for (void (CNewWizDialog::*move)() : {&CNewWizDialog::Back, &CNewWizDialog::Next, &CNewWizDialog::reject}) {
            messages_.informed.clear();
            (wizard->*move)();
            EXPECT_EQ(messages_.informed, std::vector<QString>{"正在生成操盘策略，请先结束生成过程！"});
            EXPECT_EQ(wizard->ActivePage(), run);
            EXPECT_TRUE(wizard->isVisible());
        }
        QTest::mouseClick(run->RunButton(), Qt::LeftButton);  // stop before the first generation
        EXPECT_EQ(run->RunButton()->text(), "结束中...");
        EXPECT_FALSE(run->RunButton()->isEnabled());
        gate.set_value();
        EXPECT_TRUE(WaitUntil([&] { return !run->Generating(); }));
        messages_.informed.clear();
        wizard->Next();
        EXPECT_EQ(messages_.informed, std::vector<QString>{"操盘策略没有生成，无法查看破译报告！"});
        QTest::mouseClick(run->RunButton(), Qt::LeftButton);
        EXPECT_TRUE(run->Generating());
        EXPECT_TRUE(WaitUntil([&] { return !run->Generating(); }));
        EXPECT_FALSE(Params().winRateHistory.empty());
        wizard->done(QDialog::Rejected);
    });
    EXPECT_FALSE(RunStrategyWizard(Context(HeldEvaluator(gate.get_future().share())), nullptr));
    EXPECT_EQ(store_.dc.Signals(), (std::vector<int32_t>{7, 7, 7}));  // nothing saved: put back
}

}  // namespace
