#pragma once
// CKorvelView: the main window's single view. In list mode it shows the
// watch list (one row per stored strategy with the newest prices and the
// current advice); in chart mode the chart of the current stock. It opens
// stocks (loading them into the data center and synchronising them in the
// background), deletes watched stocks with all their data, adds the current
// stock to the watch list and routes the stock and chart commands.
//
// The chart-mode widget is `ChartArea`. The view asks it for its window of
// bars (FirstVisibleBar, SetFirstVisibleBar, RequestedBarCount), zoom and
// shift, SelectIndicator and IsIndicatorEnabled; the chart asks the view
// back through its public operations (SetMode, PreviousStock, NextStock,
// OpenCodeSearchFor).
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "app/chart_placeholder.h"
#include "app/job_runner.h"
#include "app/session.h"
#include "app/watch_list_model.h"
#include "sync/daily_jobs.h"

class CCodeHelperDlg;
class QKeyEvent;
class QTableView;
struct FrameActions;

// The chart-mode widget; the K-line chart takes this place.
using ChartArea = ChartPlaceholder;

class CKorvelView : public QWidget {
    Q_OBJECT
public:
    enum Mode { kListMode = 0, kChartMode = 1 };

    // Sets the view up: fills the list, builds the quick code search from the
    // stock list, opens the stock 000001 SS and starts in list mode.
    CKorvelView(Session& session, const FrameActions& actions, QWidget* parent = nullptr);
    ~CKorvelView() override;

    int GetMode() const { return mode_; }
    bool IsBusy() const { return busy_; }

    void SetMode(int mode);
    void FillList();
    // Makes the stock current and starts its background synchronisation;
    // false (nothing changed) when its bars cannot be read. GBK texts.
    bool OpenStock(const std::string& code, const std::string& market);
    void OpenSelectedStock();
    // List mode: the selection moves one row, wrapping around. Chart mode:
    // the watch list's previous or next stock opens.
    void PreviousStock();
    void NextStock();
    void DeleteSelectedStocks();
    void AddCurrentStock();
    // "价格复权": ignored while the current stock's synchronisation runs.
    void ToggleAdjusted();
    void SelectIndicator(const QString& key);
    // Opens the quick code search with the key's character when it is a
    // digit or a letter and the search is not showing; false for other keys.
    bool OpenCodeSearchFor(const QKeyEvent& key);
    // The advice panel, shown in chart mode: refreshed with the current
    // stock's advice or without it. The panel comes with the chart.
    void RefreshAdvicePanel(bool withAdvice);

    QTableView* List() const { return list_; }
    const WatchListModel& Model() const { return model_; }
    CCodeHelperDlg* CodeSearch() const { return codeSearch_; }
    ChartArea* Chart() const { return chart_; }
    JobRunner& Jobs() { return jobs_; }

signals:
    void modeChanged(int mode);
    // The busy animation: started when a stock opens, stopped on frame 0
    // (failure) or 1 (success) when its synchronisation ends.
    void busyStarted();
    void busyStopped(int frame);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetUpList();
    void ConnectActions(const FrameActions& actions);
    void UpdateCommandStates();
    void Repaint();
    void ShowListMenu(const QPoint& globalPos);
    void MoveSelection(int step);
    void OpenNeighbour(int step);
    std::vector<int> SelectedRows() const;
    bool CurrentStockIn(const std::vector<SyncJob>& jobs) const;
    int BarCount() const;
    void ShowNewestBars();
    void OnDailyReport(const std::vector<SyncJob>& jobs, const SyncReport& report);

    Session& session_;
    CDataCenter& dc_;
    const FrameActions& actions_;
    int mode_ = kListMode;
    bool busy_ = false;
    WatchListModel model_;
    QTableView* list_;
    ChartArea* chart_;
    CCodeHelperDlg* codeSearch_ = nullptr;
    JobRunner jobs_;  // last: its jobs end before the view goes away
};
