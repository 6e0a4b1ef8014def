#include "app/dialogs/op_export_dlg.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include "strategy/export_list.h"
#include "strategy/strategy_file_writer.h"

COpExportDlg::COpExportDlg(Database& db, QWidget* parent)
    : QDialog(parent), db_(db), entries_(ListExportableStrategies(db)),
      ui_(BuildStrategyFileLayout(*this, QStringLiteral("开始导出"))) {
    setWindowTitle(QStringLiteral("操盘策略导出"));
    connect(ui_.browse, &QPushButton::clicked, this, &COpExportDlg::ChoosePath);
    connect(ui_.start, &QPushButton::clicked, this, &COpExportDlg::StartExport);
    ui_.ShowEntries(entries_);
}

void COpExportDlg::ChoosePath() {
    const QString chosen = ChooseOpxPath()(this, true);
    if (!chosen.isEmpty()) ui_.path->setText(WithOpxExtension(chosen));
}

void COpExportDlg::StartExport() {
    ui_.MarkTicked(entries_);
    ui_.EnableButtons(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ExportStrategies(db_, entries_, ui_.FilePath(), ui_.Logger());  // its log says how it went
    QApplication::restoreOverrideCursor();
    ui_.EnableButtons(true);
}
