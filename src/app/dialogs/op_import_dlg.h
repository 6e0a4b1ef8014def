#pragma once
// COpImportDlg ("操盘策略导入"): the strategies of a strategy file (.opx),
// read as soon as the file is chosen; "开始导入" stores the ticked ones on a
// worker, whose log lines reach the log (newest on top) while it waits.
// The dialog cannot be closed while the import runs.
#include <vector>

#include <QDialog>

#include "app/dialogs/strategy_file_layout.h"
#include "app/job_runner.h"
#include "datastore/database.h"

struct SyncReport;

class COpImportDlg : public QDialog {
    Q_OBJECT
public:
    explicit COpImportDlg(Database& db, QWidget* parent = nullptr);

    bool Busy() const { return busy_; }
    // True once an import has run: the watch list must reload.
    bool Imported() const { return imported_; }

    // "...": asks for a file, shows its path and reads it.
    void ChoosePath();
    // Lists the strategies of the file at the path in the box (an empty
    // list when it is not a strategy file).
    void ReadFile();
    // "开始导入": stores the ticked strategies on a worker.
    void StartImport();
    // Refused with a message while the import runs.
    void reject() override;

private:
    void OnLine(const SyncReport& line);

    Database& db_;
    std::vector<StrategyEntry> entries_;  // one per list row
    bool busy_ = false;
    bool imported_ = false;
    StrategyFileWidgets ui_;
    JobRunner jobs_;  // last: its job ends before the rest goes away
};
