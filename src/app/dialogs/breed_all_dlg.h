#pragma once
// CBreedAllDlg ("为全部自选股生成策略"): breeds a strategy for every watched
// stock with the runner `korvel-cli breed --watch-list` uses (BreedWatchList:
// one korvel-cli child per stock, several at a time), starting as the
// dialog opens. It shows the stocks done of the total, the time elapsed and
// the estimated remaining, a row per finished stock, and at the end the
// runner's table sorted by accumulated profit (failures as rows with their
// reason). "停止" (also Escape and the close button while it works) stops
// the children; what they saved stays.
#include <atomic>
#include <cstddef>
#include <vector>

#include <QDialog>
#include <QElapsedTimer>

#include "app/job_runner.h"
#include "datastore/database.h"
#include "strategy/watch_list_breed.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimer;

// What the menu command breeds with: korvel-cli beside this program on the
// folder of `db`, saving every strategy, as many children as cores. The
// path is empty when korvel-cli is not there.
BatchBreed DesktopBatch(const Database& db);

class CBreedAllDlg : public QDialog {
    Q_OBJECT
public:
    // Breeds the stocks of `db`'s watch list as `batch` says (its program,
    // folder, breed words and jobs).
    CBreedAllDlg(Database& db, BatchBreed batch, QWidget* parent = nullptr);
    // Stops the children still running and waits for the runner.
    ~CBreedAllDlg() override;

    bool Busy() const { return busy_; }
    size_t Total() const { return stocks_.size(); }
    size_t Done() const { return done_; }
    // After the end: one outcome per stock in the table's order.
    const std::vector<BreedOutcome>& Outcomes() const { return outcomes_; }
    QTableWidget* Table() const { return table_; }
    QProgressBar* Progress() const { return bar_; }

    // "停止": the running children are stopped, no more start.
    void Stop();
    // While working the same as Stop, the dialog staying open for the table.
    void reject() override;

signals:
    // The batch has ended (finished or stopped) and the table is sorted.
    void batchEnded();

private:
    void Start(BatchBreed batch);
    void OnProgress(size_t done, double remainingSeconds, const BreedOutcome& latest);
    void OnEnded();
    void ShowTiming();
    void AddRow(const BreedOutcome& outcome);

    std::vector<WatchedStock> stocks_;
    std::vector<BreedOutcome> outcomes_;  // written by the runner, read after it ended
    bool busy_ = false;
    size_t done_ = 0;
    double remaining_ = -1.0;  // the runner's estimate at the last finished stock, seconds
    QElapsedTimer clock_;      // since the start
    qint64 estimatedAt_ = 0;   // clock_ when remaining_ was estimated, ms
    QLabel* summary_;
    QProgressBar* bar_;
    QLabel* timing_;
    QTableWidget* table_;
    QPushButton* button_;
    QTimer* ticker_;
    std::atomic<bool> stop_ = false;
    JobRunner jobs_;  // last: its job ends before the rest goes away
};
