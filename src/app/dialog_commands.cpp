#include "app/dialog_commands.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QTableView>

#include "app/dialogs/breed_all_dlg.h"
#include "app/dialogs/data_clean_dlg.h"
#include "app/dialogs/op_export_dlg.h"
#include "app/dialogs/op_import_dlg.h"
#include "app/dialogs/pool_pick_dlg.h"
#include "app/dialogs/property_dlg.h"
#include "app/dialogs/report_dlg.h"
#include "app/dialogs/user_messages.h"
#include "app/frame_actions.h"
#include "app/korvel_view.h"
#include "app/session.h"
#include "app/wizard/platform_dlg.h"
#include "strategy/strategy_record.h"
#include "strategy/strategy_signals.h"

DialogCommands::DialogCommands(Session& session, const FrameActions& actions, CKorvelView& view)
    : QObject(&view), session_(session), actions_(actions), view_(view) {
    connect(actions_.generateStrategy, &QAction::triggered, this, &DialogCommands::GenerateStrategy);
    connect(actions_.strategyReport, &QAction::triggered, this, &DialogCommands::ShowStrategyReport);
    connect(actions_.settings, &QAction::triggered, this, &DialogCommands::OpenSettings);
    connect(actions_.valuePool, &QAction::triggered, this, [this] { OpenPool("vpool"); });
    connect(actions_.valuePicks, &QAction::triggered, this, [this] { OpenPool("vpick"); });
    connect(actions_.growthPool, &QAction::triggered, this, [this] { OpenPool("gpool"); });
    connect(actions_.growthPicks, &QAction::triggered, this, [this] { OpenPool("gpick"); });
    connect(actions_.dataCleanup, &QAction::triggered, this, &DialogCommands::OpenDataCleanup);
    connect(actions_.exportStrategies, &QAction::triggered, this, &DialogCommands::ExportStrategyFile);
    connect(actions_.importStrategies, &QAction::triggered, this, &DialogCommands::ImportStrategyFile);
    connect(actions_.breedWatchList, &QAction::triggered, this, &DialogCommands::BreedAllWatched);

    connect(&view_, &CKorvelView::modeChanged, this, &DialogCommands::UpdateStates);
    connect(&view_, &CKorvelView::busyStarted, this, &DialogCommands::UpdateStates);
    connect(&view_, &CKorvelView::busyStopped, this, &DialogCommands::UpdateStates);
    const WatchListModel& model = view_.Model();
    connect(&model, &QAbstractItemModel::modelReset, this, &DialogCommands::UpdateStates);
    connect(&model, &QAbstractItemModel::rowsInserted, this, &DialogCommands::UpdateStates);
    connect(&model, &QAbstractItemModel::rowsRemoved, this, &DialogCommands::UpdateStates);
    for (QAction* always : {actions_.strategyReport, actions_.settings, actions_.valuePool, actions_.valuePicks,
                            actions_.growthPool, actions_.growthPicks, actions_.exportStrategies,
                            actions_.importStrategies})
        always->setEnabled(true);
    UpdateStates();
}

void DialogCommands::UpdateStates() {
    const bool chart = view_.GetMode() == CKorvelView::kChartMode;
    actions_.generateStrategy->setEnabled(chart && !view_.IsBusy());
    actions_.dataCleanup->setEnabled(!chart && view_.Model().rowCount() > 0 && session_.server.cleanto > 0);
    actions_.breedWatchList->setEnabled(view_.Model().rowCount() > 0 && !view_.IsBusy());
}

void DialogCommands::GenerateStrategy() {
    if (view_.IsBusy() || view_.GetMode() != CKorvelView::kChartMode) return;
    const WizardContext context{session_.Db(), session_.store->settings, session_.Dc(), {}};
    if (RunStrategyWizard(context, &view_)) view_.RefreshAdvicePanel(true);
    view_.Chart()->update();  // the marks of the new strategy, or again the stored one's
}

// The current stock's stored strategy in chart mode, the selected row's in
// list mode.
void DialogCommands::ShowStrategyReport() {
    Database& db = session_.Db();
    if (view_.GetMode() == CKorvelView::kChartMode) {
        const CDataCenter& dc = session_.Dc();
        CReportDlg(db, dc.Market(), dc.Code(), LoadStoredReport(db, dc.Market(), dc.Code()).value_or(""), &view_)
            .exec();
        return;
    }
    const QModelIndexList rows = view_.List()->selectionModel()->selectedRows();
    if (rows.size() != 1) return;
    const WatchRow& row = view_.Model().Row(rows.front().row());
    CReportDlg(db, row.market, row.code, row.report, &view_).exec();
}

void DialogCommands::OpenSettings() {
    CPropertyDlg(session_.Db(), session_.store->settings, session_.Dc().Parameters(), &view_).exec();
}

void DialogCommands::OpenPool(const char* model) {
    CPoolPickDlg pool(session_.Db(), session_.Server(), model, &view_);
    pool.exec();
    if (pool.AddedStocks()) view_.FillList();
}

void DialogCommands::OpenDataCleanup() {
    CDataCleanDlg(session_.Db(), session_.server.cleanto, &view_).exec();
    view_.FillList();  // the newest prices may have gone
}

void DialogCommands::ExportStrategyFile() { COpExportDlg(session_.Db(), &view_).exec(); }

void DialogCommands::ImportStrategyFile() {
    COpImportDlg import(session_.Db(), &view_);
    import.exec();
    if (import.Imported()) view_.FillList();  // the new strategies and their reports
}

void DialogCommands::BreedAllWatched() {
    if (view_.IsBusy()) return;
    const BatchBreed batch = DesktopBatch(session_.Db());
    if (batch.program.empty()) {
        Inform(&view_, QStringLiteral("找不到 korvel-cli，它应与本程序在同一文件夹中。"));
        return;
    }
    CBreedAllDlg(session_.Db(), batch, &view_).exec();
    view_.FillList();
    // The current stock's stored strategy may be new: its marks and advice.
    CDataCenter& dc = session_.Dc();
    if (LoadStoredStrategy(session_.Db(), dc, InformSink(&view_))) ComputeStrategySignals(dc);
    view_.RefreshAdvicePanel(true);
    view_.Chart()->update();
}
