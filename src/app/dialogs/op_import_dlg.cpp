#include "app/dialogs/op_import_dlg.h"

#include <QLineEdit>
#include <QPushButton>

#include "app/dialogs/check_list.h"
#include "app/dialogs/log_box.h"
#include "app/dialogs/user_messages.h"
#include "app/gbk_text.h"
#include "strategy/strategy_file_reader.h"
#include "strategy/strategy_import.h"

COpImportDlg::COpImportDlg(Database& db, QWidget* parent)
    : QDialog(parent), db_(db), ui_(BuildStrategyFileLayout(*this, QStringLiteral("开始导入"))) {
    setWindowTitle(QStringLiteral("操盘策略导入"));
    connect(ui_.browse, &QPushButton::clicked, this, &COpImportDlg::ChoosePath);
    connect(ui_.path, &QLineEdit::returnPressed, this, &COpImportDlg::ReadFile);
    connect(ui_.start, &QPushButton::clicked, this, &COpImportDlg::StartImport);
}

void COpImportDlg::ChoosePath() {
    const QString chosen = ChooseOpxPath()(this, false);
    if (chosen.isEmpty()) return;
    ui_.path->setText(WithOpxExtension(chosen));
    ReadFile();
}

void COpImportDlg::ReadFile() {
    entries_ = ReadStrategyFile(ui_.FilePath(), ui_.Logger()).value_or(std::vector<StrategyEntry>{});
    ui_.ShowEntries(entries_);
}

void COpImportDlg::StartImport() {
    ui_.MarkTicked(entries_);
    const ImportLog log = [report = jobs_.Reporter([this](const SyncReport& r) { OnLine(r); })](
                              const std::string& line, bool final) {
        Report(report, final ? SyncReport::kSucceeded : SyncReport::kRunning, line);
    };
    if (ui_.list->TickedRows().empty()) {
        ImportStrategies(db_, entries_, log);  // only says that nothing is ticked
        return;
    }
    busy_ = true;
    ui_.EnableButtons(false);
    jobs_.Start([this, log, entries = entries_] {
        return ImportStrategies(db_, entries, log).Clean() ? SyncReport::kSucceeded : SyncReport::kFailed;
    });
}

void COpImportDlg::OnLine(const SyncReport& line) {
    ui_.log->Prepend(FromGbk(line.text));
    if (line.result == SyncReport::kRunning || !busy_) return;
    busy_ = false;
    imported_ = true;
    ui_.EnableButtons(true);
}

void COpImportDlg::reject() {
    if (busy_) {
        Inform(this, QStringLiteral("正在执行操盘策略导入操作，请在导入操作结束后再关闭窗口。"));
        return;
    }
    QDialog::reject();
}
