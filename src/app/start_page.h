#pragma once
// CStartpageDlg: the start page shown before the main window. It asks the
// data server for its status (one second after it shows, and again after
// every change of server), offers the synchronisation of the stock list and
// of every watched stock's bars and dividends, the choice among the
// server's hosts, going on (online or offline) and ending the program.
#include <QDialog>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/job_runner.h"
#include "app/session.h"
#include "strategy/advice_digest.h"

class QLabel;
class QPushButton;

class CStartpageDlg : public QDialog {
    Q_OBJECT
public:
    // Milliseconds from showing to the status request.
    static constexpr int kStatusDelayMs = 1000;

    CStartpageDlg(Session& session, QWidget* parent = nullptr);

    // The watched stocks whose advice the page's synchronisations changed
    // (the evening digest); empty when there was none or nothing changed.
    const std::vector<DigestRow>& Digest() const { return digest_; }

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
    std::optional<int64_t> adviceRunBefore_;  // the advice run before the first 数据同步
    std::vector<DigestRow> digest_;
    JobRunner jobs_;  // last: its jobs end before the page goes away
};
