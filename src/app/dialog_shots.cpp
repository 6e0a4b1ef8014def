#include "app/dialog_shots.h"

#include <condition_variable>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>

#include <QCheckBox>
#include <QPixmap>
#include <QTemporaryDir>
#include <QPushButton>
#include <QTabWidget>
#include <QCoreApplication>
#include <QElapsedTimer>

#include "app/dialogs/breed_all_dlg.h"
#include "app/dialogs/check_list.h"
#include "app/dialogs/data_clean_dlg.h"
#include "app/dialogs/op_export_dlg.h"
#include "app/dialogs/op_import_dlg.h"
#include "app/dialogs/pool_pick_dlg.h"
#include "app/dialogs/property_dlg.h"
#include "app/dialogs/report_dlg.h"
#include "app/dialogs/user_messages.h"
#include "app/wizard/platform_dlg.h"
#include "app/wizard/report_page.h"
#include "app/wizard/rorozo_page.h"
#include "app/wizard/time_range_page.h"
#include "app/session.h"
#include "datastore/open_database.h"
#include "strategy/fast_evaluator.h"
#include "strategy/strategy_record.h"

namespace {

constexpr int kJobWaitMs = 600000;

// Runs the event loop until `done` holds or `ms` milliseconds have passed.
bool WaitUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

void Pause(int ms) {
    WaitUntil([] { return false; }, ms);
}

// Lets the run's evaluations through until told to hold, then holds them
// until released: the page shows a run in the middle.
class Hold {
public:
    GEP::Algorithm<TraderIndividual>::Evaluator Evaluator() {
        auto fast = std::make_shared<FastEvaluator>();
        return [this, fast](std::span<TraderIndividual* const> batch, const std::vector<TradingRecord>& cases) {
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return !holding_; });
            }
            fast->evaluate(batch, cases);
        };
    }
    void Set(bool holding) {
        const std::lock_guard lock(mutex_);
        holding_ = holding;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool holding_ = false;
};

struct Shots {
    QString folder;
    bool ok = true;

    void Save(QWidget& window, const char* name) {
        Pause(50);  // let layouts and deferred paints settle
        const QString path = folder + QLatin1Char('/') + QLatin1String(name);
        const bool saved = window.grab().save(path);
        std::printf("%s %s\n", saved ? "wrote" : "cannot write", qPrintable(path));
        ok = ok && saved;
    }
    bool Wait(const std::function<bool()>& done, const char* what) {
        if (WaitUntil(done, kJobWaitMs)) return true;
        std::fprintf(stderr, "gave up waiting for %s\n", what);
        ok = false;
        return false;
    }
};

void WizardShots(Shots& shots, const WizardContext& context) {
    Hold hold;
    WizardContext held = context;
    held.evaluator = hold.Evaluator();
    CPlatformDlg wizard(held);
    wizard.show();
    shots.Save(wizard, "wizard-time-range.png");
    wizard.Next();
    auto* run = static_cast<CTheRorozoPage*>(wizard.ActivePage());
    if (shots.Wait([run] { return run->Picture().winRates.size() >= 12 || !run->Generating(); }, "12 generations")) {
        hold.Set(true);
        Pause(200);
        shots.Save(wizard, "wizard-generating.png");
        hold.Set(false);
    }
    if (!shots.Wait([run] { return !run->Generating(); }, "the end of the run")) return;
    shots.Save(wizard, "wizard-finished.png");
    wizard.Next();
    auto* report = static_cast<CTheReportPage*>(wizard.ActivePage());
    shots.Save(wizard, "wizard-report.png");
    report->Tabs()->setCurrentIndex(1);
    shots.Save(wizard, "wizard-report-trades.png");
    report->Save();
    report->Tabs()->setCurrentIndex(2);
    shots.Save(wizard, "wizard-report-strategy.png");
    wizard.Finish();
}

// The wizard again with "样本外检验" on: the range page and the fourth tab;
// cancelled, so the strategy saved above stays.
void HoldoutShots(Shots& shots, const WizardContext& context) {
    CPlatformDlg wizard(context);
    wizard.show();
    static_cast<CTimeRangePage*>(wizard.ActivePage())->HoldoutBox()->setChecked(true);
    shots.Save(wizard, "wizard-holdout-range.png");
    wizard.Next();
    auto* run = static_cast<CTheRorozoPage*>(wizard.ActivePage());
    if (!shots.Wait([run] { return !run->Generating(); }, "the held-out run")) return;
    wizard.Next();
    static_cast<CTheReportPage*>(wizard.ActivePage())->Tabs()->setCurrentIndex(3);
    shots.Save(wizard, "wizard-holdout-report.png");
    wizard.reject();
}

// Every watched stock bred again (fixed seed) and saved: the dialog midway
// and at the end.
void BreedAllShots(Shots& shots, Database& db) {
    BatchBreed batch = DesktopBatch(db);
    if (batch.program.empty()) {
        std::fprintf(stderr, "screenshots: korvel-cli is not beside korvel\n");
        shots.ok = false;
        return;
    }
    batch.breedWords.insert(batch.breedWords.end(), {"--seed", "1"});
    batch.jobs = 2;
    CBreedAllDlg dialog(db, batch);
    dialog.show();
    if (shots.Wait([&dialog] { return dialog.Done() >= 2 || !dialog.Busy(); }, "two bred stocks"))
        shots.Save(dialog, "breed-all-progress.png");
    if (shots.Wait([&dialog] { return !dialog.Busy(); }, "the whole watch list"))
        shots.Save(dialog, "breed-all-dialog.png");
}

void PoolShot(Shots& shots, Database& db, const ServerAccess& server) {
    CPoolPickDlg pool(db, server, "vpool");
    pool.show();
    auto* list = pool.findChild<CheckList*>();
    if (!shots.Wait([list] { return list->rowCount() > 0; }, "the stock pool")) return;
    for (int row = 0; row < list->rowCount(); row += 2) list->SetTicked(row, true);
    shots.Save(pool, "pool-dialog.png");
}

void CleanupShot(Shots& shots, Database& db, int32_t cleanto) {
    CDataCleanDlg cleanup(db, cleanto);
    cleanup.show();
    auto* list = cleanup.findChild<CheckList*>();
    if (list->rowCount() > 0) list->SetTicked(0, true);
    cleanup.StartCleanup();
    shots.Wait([&cleanup] { return !cleanup.Busy(); }, "the cleanup");
    if (list->rowCount() > 1) list->SetTicked(1, true);
    shots.Save(cleanup, "cleanup-dialog.png");
}

// Every stored strategy exported to a file, and the file imported into a
// fresh database, as on another computer.
void StrategyFileShots(Shots& shots, Database& db) {
    const QTemporaryDir scratch;
    const QString file = scratch.path() + QStringLiteral("/strategies");
    const OpxPathChooser saved = ChooseOpxPath();
    ChooseOpxPath() = [file](QWidget*, bool) { return file; };
    {
        COpExportDlg exporter(db);
        exporter.show();
        exporter.ChoosePath();
        exporter.findChild<CheckList*>()->TickAll(true);
        exporter.StartExport();
        shots.Save(exporter, "export-dialog.png");
    }
    std::optional<Database> fresh = OpenDatabase(scratch.path().toStdString(), [](std::string_view) {});
    if (fresh) {
        COpImportDlg importer(*fresh);
        importer.show();
        importer.ChoosePath();
        importer.findChild<CheckList*>()->TickAll(true);
        importer.StartImport();
        shots.Wait([&importer] { return !importer.Busy(); }, "the import");
        shots.Save(importer, "import-dialog.png");
    }
    ChooseOpxPath() = saved;
}

}  // namespace

bool RenderDialogShots(Session& session, const QString& folder) {
    // Nobody answers a box here: notices go to stderr, questions get Yes.
    const UserMessages saved = Messages();
    Messages().inform = [](QWidget*, const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); };
    Messages().ask = [](QWidget*, const QString&) { return true; };
    Shots shots{folder};
    CDataCenter& dc = session.Dc();
    Database& db = session.Db();
    if (!dc.LoadStock("600000", "SS")) {
        std::fprintf(stderr, "screenshots: SS 600000 has no daily bars\n");
        Messages() = saved;
        return false;
    }
    WizardShots(shots, WizardContext{db, session.store->settings, dc, {}});

    CReportDlg report(db, "SS", "600000", LoadStoredReport(db, "SS", "600000").value_or(""));
    report.show();
    report.Tabs()->setCurrentIndex(1);
    shots.Save(report, "report-dialog.png");

    CPropertyDlg settings(db, session.store->settings, dc.Parameters());
    settings.show();
    shots.Save(settings, "settings-dialog.png");

    PoolShot(shots, db, session.Server());
    StrategyFileShots(shots, db);
    CleanupShot(shots, db, session.server.cleanto);
    HoldoutShots(shots, WizardContext{db, session.store->settings, dc, {}});
    BreedAllShots(shots, db);
    Messages() = saved;
    return shots.ok;
}
