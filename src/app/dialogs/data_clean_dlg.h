#pragma once
// CDataCleanDlg ("日线数据清理"): every stock with local daily bars; the ticked
// ones lose their bars after the server's cut date, on a worker, with the
// progress on top of the log. The dialog cannot be closed while it works.
#include <cstdint>
#include <vector>

#include <QDialog>

#include "app/job_runner.h"
#include "datastore/database.h"
#include "sync/data_cleanup.h"
#include "sync/sync_report.h"

class CheckList;
class LogBox;
class QPushButton;

class CDataCleanDlg : public QDialog {
    Q_OBJECT
public:
    // `cleanto`: the cut date of the last server status reply (yyyymmdd).
    CDataCleanDlg(Database& db, int32_t cleanto, QWidget* parent = nullptr);

    bool Busy() const { return busy_; }

    // "开始清理": nothing happens unless a stock is ticked.
    void StartCleanup();
    // Refused with a message while the cleanup runs.
    void reject() override;

private:
    void FillList();
    void OnReport(const SyncReport& report);
    void EnableButtons(bool enabled);

    Database& db_;
    const int32_t cleanto_;
    std::vector<CleanupStock> stocks_;  // one per list row
    bool busy_ = false;
    CheckList* list_;
    LogBox* log_;
    std::vector<QPushButton*> buttons_;
    JobRunner jobs_;  // last: its job ends before the rest goes away
};
