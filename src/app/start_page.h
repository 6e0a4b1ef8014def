#pragma once
// CStartpageDlg: the start page shown before the main window. It asks the
// data server for its status (one second after it shows, and again after
// every change of server), offers the synchronisation of the stock list and
// of every watched stock's bars and dividends, the choice among the
// server's hosts, going on (online or offline) and ending the program.
#include <QDialog>

#include <string>

#include "app/job_runner.h"
#include "app/session.h"

class QLabel;
class QPushButton;

class CStartpageDlg : public QDialog {
    Q_OBJECT
public:
    // Milliseconds from showing to the status request.
    static constexpr int kStatusDelayMs = 1000;

    CStartpageDlg(Session& session, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void SetButtons(bool enter, bool synchronise, bool switchServer);
    void ShowStatus(const SyncReport& report);

    void StartStatusRequest();
    void OnStatusReport(const SyncReport& report);
    void Synchronise();
    void OnStockCodesReport(const SyncReport& report);
    void StartDailySync();
    void OnDailyReport(const SyncReport& report);
    void ShowServerMenu();
    void ChooseServer(const std::string& addr);

    Session& session_;
    QLabel* status_;
    QPushButton* enter_;
    QPushButton* synchronise_;
    QPushButton* switchServer_;
    QPushButton* cancel_;
    bool shown_ = false;
    JobRunner jobs_;  // last: its jobs end before the page goes away
};
