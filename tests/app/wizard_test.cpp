// The strategy wizard: the frame's buttons, a whole run through the three
// pages (against what `korvel-cli breed --save` stores), and the refusals
// during a run held at its first evaluation.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

#include "../support/run_process.h"
#include "app/dialogs/report_dlg.h"
#include "app/wizard/platform_dlg.h"
#include "app/wizard/report_page.h"
#include "app/wizard/rorozo_page.h"
#include "app/wizard/time_range_page.h"
#include "dialog_fixture.h"
#include "strategy/fast_evaluator.h"
#include "strategy/strategy_record.h"

namespace {

using dialog_test::AnsweredMessages;
using dialog_test::WaitFor;

class ScriptedPage : public CNewWizPage {
public:
    ScriptedPage(int id) : CNewWizPage(id, QString::number(id)) {}
    bool OnCreatePage() override { return ++created, true; }
    int OnWizardBack() override { return back; }
    int OnWizardNext() override { return next; }
    int created = 0;
    int back = 0;
    int next = 0;
};

struct Buttons {
    bool back, next, finish;
    bool operator==(const Buttons&) const = default;
};

Buttons StateOf(const CNewWizDialog& w) {
    return {w.BackButton()->isEnabled(), w.NextButton()->isEnabled(), w.FinishButton()->isEnabled()};
}

TEST(WizardFrame, SinglePageStartsWithFinishAndWithoutNext) {
    CNewWizDialog wizard;
    wizard.AddPage(new ScriptedPage(1));
    wizard.show();
    EXPECT_EQ(StateOf(wizard), (Buttons{false, false, true}));
}

TEST(WizardFrame, ButtonsFollowThePagesAndPagesAreCreatedOnce) {
    CNewWizDialog wizard;
    ScriptedPage* pages[] = {new ScriptedPage(11), new ScriptedPage(12), new ScriptedPage(13)};
    for (ScriptedPage* page : pages) wizard.AddPage(page);
    wizard.show();
    struct Step {
        void (CNewWizDialog::*move)();
        int setAnswer;  // the active page's answer to the move
        int active;
        Buttons buttons;
    };
    const Step steps[] = {
        {&CNewWizDialog::Next, 0, 12, {true, true, false}},  {&CNewWizDialog::Next, 0, 13, {true, false, true}},
        {&CNewWizDialog::Back, -1, 13, {true, false, true}}, {&CNewWizDialog::Back, 0, 12, {true, true, false}},
        {&CNewWizDialog::Back, 0, 11, {false, true, false}}, {&CNewWizDialog::Next, 13, 13, {true, false, true}},
        {&CNewWizDialog::Back, 11, 11, {false, true, false}},
    };
    for (const Step& step : steps) {
        auto* active = static_cast<ScriptedPage*>(wizard.ActivePage());
        (step.move == &CNewWizDialog::Next ? active->next : active->back) = step.setAnswer;
        (wizard.*step.move)();
        EXPECT_EQ(wizard.ActivePage()->TemplateId(), step.active);
        EXPECT_EQ(StateOf(wizard), step.buttons) << "to page " << step.active;
    }
    for (ScriptedPage* page : pages) EXPECT_EQ(page->created, 1);
}

constexpr int kDepth = 4;
constexpr int kSeed = 7;

class WizardRunTest : public testing_support::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        GEP::setClockSeedOverride(kSeed);
        pufa_.dc->Parameters().evoluteSteps = kDepth;
    }
    WizardContext Context(GEP::Algorithm<TraderIndividual>::Evaluator evaluator = {}) {
        return {pufa_.db(), pufa_.settings, *pufa_.dc, std::move(evaluator)};
    }
    const RunParameters& Params() const { return pufa_.dc->Parameters(); }

    dialog_test::PufaStore pufa_;
    AnsweredMessages messages_;
};

// The rows of a table as text, GENE as hex.
std::string Dump(Database& db, const std::string& query) {
    std::string out;
    const TextTable rows = db.GetTable(query).value_or(TextTable{});
    for (const std::string& cell : rows.cells) out += cell + "|";
    return out;
}

const char* kSecret = "SELECT MARKET, CODE, VRSN, NUMS, LENG, hex(GENE), CRPT, UDAY, INDI, DBGN, DEND FROM SECRET";
const char* kTradeLog = "SELECT * FROM TRADELOG ORDER BY DDATE";

// "累计盈利: 5.00 %" of a report gives "5.00".
QString Figure(const QString& report, const QString& name) {
    const qsizetype at = report.indexOf(name) + name.size();
    return report.mid(at, report.indexOf(QLatin1Char(' '), at) - at);
}

TEST_F(WizardRunTest, BreedsThroughThePagesAndSavesWhatTheCommandLineSaves) {
    CPlatformDlg wizard(Context());
    wizard.show();
    auto* range = qobject_cast<CTimeRangePage*>(wizard.ActivePage());
    ASSERT_NE(range, nullptr);
    const std::vector<int32_t>& dates = pufa_.dc->Dates();
    EXPECT_EQ(Params().rangeBegin, dates[dates.size() - 480]);
    EXPECT_EQ(range->RangeText(), QString::asprintf("%04d-%02d-%02d - %04d-%02d-%02d", Params().rangeBegin / 10000,
                                                    Params().rangeBegin / 100 % 100, Params().rangeBegin % 100,
                                                    dates.back() / 10000, dates.back() / 100 % 100, dates.back() % 100));
    EXPECT_EQ(range->DepthText(), QString::asprintf("最大策略搜索深度：%d", kDepth));

    wizard.Next();
    auto* run = qobject_cast<CTheRorozoPage*>(wizard.ActivePage());
    ASSERT_NE(run, nullptr);
    ASSERT_TRUE(WaitFor([&] { return !run->Generating(); }));
    const size_t generations = Params().winRateHistory.size();
    ASSERT_GT(generations, static_cast<size_t>(kDepth) - 1);
    EXPECT_TRUE(run->StatusText().endsWith(QString::asprintf("生成完毕 - 共优选[ %zu ]轮 ", generations)))
        << run->StatusText().toStdString();
    wizard.Back();
    wizard.Next();
    EXPECT_FALSE(run->Generating());
    EXPECT_EQ(Params().winRateHistory.size(), generations);

    wizard.Next();
    auto* report = qobject_cast<CTheReportPage*>(wizard.ActivePage());
    ASSERT_NE(report, nullptr);
    const QString reportText = static_cast<QPlainTextEdit*>(report->Tabs()->widget(0))->toPlainText();
    const RunLabels labels = LabelsOf(run->Picture());
    EXPECT_EQ(labels.accumulated, "累计盈利: " + Figure(reportText, "累计盈利: ") + "%");
    EXPECT_EQ(labels.compound, "复利盈利: " + Figure(reportText, "复利盈利: ") + "%");
    EXPECT_EQ(labels.winRate, "策略胜率: " + Figure(reportText, "策略胜率: "));
    EXPECT_EQ(static_cast<QTableWidget*>(report->Tabs()->widget(1))->rowCount(), Params().tradeLog.size());

    wizard.reject();  // unsaved: asks, and No keeps the wizard open
    EXPECT_EQ(messages_.asked, std::vector<QString>{"生成的操盘策略没有保存，仍然要取消吗？"});
    EXPECT_TRUE(wizard.isVisible());
    ASSERT_TRUE(report->SaveButton()->isEnabled());
    QTest::mouseClick(report->SaveButton(), Qt::LeftButton);
    EXPECT_FALSE(report->SaveButton()->isEnabled());
    EXPECT_TRUE(report->OnQueryCancel());  // saved: no question
    EXPECT_EQ(messages_.asked.size(), 1u);

    pufa_.db().Exec("DELETE FROM TRADELOG");  // finishing saves again
    wizard.Finish();
    EXPECT_EQ(wizard.result(), QDialog::Accepted);

    testing_support::Store cli;
    testing_support::ImportPufa(cli.db());
    const testing_support::ProcessResult breed = testing_support::RunCli(
        cli.dir().path(), {"breed", "SS", "600000", "--depth", std::to_string(kDepth), "--seed",
                           std::to_string(kSeed), "--save"});
    ASSERT_EQ(breed.exitCode, 0) << breed.err;
    EXPECT_EQ(Dump(pufa_.db(), kSecret), Dump(cli.db(), kSecret));
    EXPECT_EQ(Dump(pufa_.db(), kTradeLog), Dump(cli.db(), kTradeLog));
    EXPECT_NE(Dump(cli.db(), kTradeLog), "");

    CReportDlg stored(pufa_.db(), "SS", "600000", LoadStoredReport(pufa_.db(), "SS", "600000").value_or(""));
    EXPECT_EQ(static_cast<QTableWidget*>(stored.Tabs()->widget(1))->rowCount(), Params().tradeLog.size());
    EXPECT_TRUE(static_cast<QPlainTextEdit*>(stored.Tabs()->widget(2))->toPlainText().startsWith("引擎版本"));
}

// Holds every evaluation until the test opens it.
struct Gate {
    void Open() {
        const std::lock_guard lock(mutex);
        open = true;
        opened.notify_all();
    }
    void Pass() {
        std::unique_lock lock(mutex);
        opened.wait(lock, [this] { return open; });
    }
    std::mutex mutex;
    std::condition_variable opened;
    bool open = false;
};

GEP::Algorithm<TraderIndividual>::Evaluator HeldEvaluator(std::shared_ptr<Gate> gate) {
    auto fast = std::make_shared<FastEvaluator>();
    return [gate, fast](std::span<TraderIndividual* const> batch, const std::vector<TradingRecord>& cases) {
        gate->Pass();
        fast->evaluate(batch, cases);
    };
}

TEST_F(WizardRunTest, RefusesMovesDuringARunAndStartsAFreshRunAfterAnEarlyStop) {
    const QString refusal = "正在生成操盘策略，请先结束生成过程！";
    auto gate = std::make_shared<Gate>();
    pufa_.dc->Signals() = {7, 7, 7};
    QTimer::singleShot(0, [&] {
        auto* wizard = qobject_cast<CPlatformDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(wizard, nullptr);
        wizard->Next();
        auto* run = qobject_cast<CTheRorozoPage*>(wizard->ActivePage());
        EXPECT_TRUE(run != nullptr && run->Generating());
        for (void (CNewWizDialog::*move)() : {&CNewWizDialog::Back, &CNewWizDialog::Next, &CNewWizDialog::reject}) {
            messages_.informed.clear();
            (wizard->*move)();
            EXPECT_EQ(messages_.informed, std::vector<QString>{refusal});
            EXPECT_EQ(wizard->ActivePage(), run);
            EXPECT_TRUE(wizard->isVisible());
        }
        if (run != nullptr) {
            QTest::mouseClick(run->RunButton(), Qt::LeftButton);  // stop before the first generation
            EXPECT_EQ(run->RunButton()->text(), "结束中...");
            EXPECT_FALSE(run->RunButton()->isEnabled());
            gate->Open();
            EXPECT_TRUE(WaitFor([&] { return !run->Generating(); }));
            EXPECT_EQ(run->RunButton()->text(), "生成策略");
            messages_.informed.clear();
            wizard->Next();
            EXPECT_EQ(messages_.informed, std::vector<QString>{"操盘策略没有生成，无法查看破译报告！"});
            QTest::mouseClick(run->RunButton(), Qt::LeftButton);
            EXPECT_TRUE(run->Generating());
            EXPECT_TRUE(WaitFor([&] { return !run->Generating(); }));
            EXPECT_FALSE(Params().winRateHistory.empty());
        }
        gate->Open();
        WaitFor([&] { return run == nullptr || !run->Generating(); });
        wizard->done(QDialog::Rejected);
    });
    EXPECT_FALSE(RunStrategyWizard(Context(HeldEvaluator(gate)), nullptr));
    EXPECT_EQ(pufa_.dc->Signals(), (std::vector<int32_t>{7, 7, 7}));  // nothing saved: put back
}

}  // namespace
