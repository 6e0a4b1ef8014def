#pragma once
// CPoolPickDlg: one stock pool of the server's selection models, fetched on
// opening; the ticked stocks are added to the watch list. Fetching and
// adding run on a worker each; the status line tells how it went.
#include <string>

#include <QDialog>

#include "app/job_runner.h"
#include "datastore/database.h"
#include "sync/server_requests.h"
#include "sync/stock_pool.h"

class CheckList;
class QLabel;
class QPushButton;

class CPoolPickDlg : public QDialog {
    Q_OBJECT
public:
    // `model`: "vpool", "vpick", "gpool", "gpick" or another key.
    CPoolPickDlg(Database& db, ServerAccess server, std::string model, QWidget* parent = nullptr);

    // True once stocks were added: the watch list must reload.
    bool AddedStocks() const { return added_; }

private:
    void OnFetched(bool fetched, StockPool pool);
    void AddTicked();
    void OnAdded(PoolAddResult result);

    Database& db_;
    StockPool pool_;
    bool added_ = false;
    CheckList* list_;
    QLabel* status_;
    QPushButton* addButton_;
    JobRunner jobs_;  // last: its jobs end before the rest goes away
};
