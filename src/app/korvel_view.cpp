#include "app/korvel_view.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>
#include <mutex>

#include "app/code_helper_dlg.h"
#include "app/frame_actions.h"
#include "app/message_box_sink.h"
#include "app/platform/window_state.h"
#include "sync/daily_sync.h"

CKorvelView::CKorvelView(Session& session, const FrameActions& actions, QWidget* parent)
    : QWidget(parent),
      session_(session),
      dc_(session.Dc()),
      actions_(actions),
      list_(new QTableView(this)),
      chart_(new ChartWidget(session.Dc(), this)),
      advicePanel_(new CIndicatorDlg(this)) {
    setFocusPolicy(Qt::StrongFocus);
    connect(chart_, &ChartWidget::listRequested, this, [this] { SetMode(kListMode); });
    connect(chart_, &ChartWidget::previousStockRequested, this, &CKorvelView::PreviousStock);
    connect(chart_, &ChartWidget::nextStockRequested, this, &CKorvelView::NextStock);
    SetUpList();
    ConnectActions(actions);
    FillList();
    if (dc_.StockList().empty()) dc_.LoadStockList();
    codeSearch_ = new CCodeHelperDlg(this, BuildCandidates(dc_.StockList()), [this](const CodeCandidate& c) {
        window()->activateWindow();  // the keys come back here once the search has closed
        if (c.market == kIndicatorMarket) {
            SelectIndicator(QString::fromStdString(c.code));
            return;
        }
        OpenStock(c.code, c.market);
        SetMode(kChartMode);
    });
    OpenStock("000001", "SS");
    chart_->SelectIndicator(QStringLiteral("VOL"));
    chart_->SelectIndicator(QStringLiteral("BS"));
    Repaint();  // in list mode, filled above
    UpdateCommandStates();
}

CKorvelView::~CKorvelView() { SaveColumns(*list_->horizontalHeader()); }

void CKorvelView::SetUpList() {
    list_->setModel(&model_);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(22);
    font.setWeight(QFont::Medium);
    list_->setFont(font);
    QPalette palette = list_->palette();
    palette.setColor(QPalette::Base, kListBackground);
    palette.setColor(QPalette::Window, kListBackground);
    palette.setColor(QPalette::Text, kDefaultText);
    list_->setPalette(palette);
    QPalette bars = list_->verticalScrollBar()->palette();  // dark, to go with the list
    bars.setColor(QPalette::Window, QColor(24, 24, 24));
    bars.setColor(QPalette::Button, QColor(64, 64, 64));
    list_->verticalScrollBar()->setPalette(bars);
    list_->horizontalScrollBar()->setPalette(bars);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setShowGrid(false);
    list_->setWordWrap(false);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 6);
    QHeaderView* header = list_->horizontalHeader();
    header->setSectionsMovable(true);
    header->setHighlightSections(false);
    for (int c = 0; c < kWatchColumnCount; ++c) list_->setColumnWidth(c, WatchColumnWidth(c));
    RestoreColumns(*header);
    list_->installEventFilter(this);
    connect(list_, &QTableView::doubleClicked, this, &CKorvelView::OpenSelectedStock);
    connect(list_, &QTableView::customContextMenuRequested, this,
            [this](const QPoint& pos) { ShowListMenu(list_->viewport()->mapToGlobal(pos)); });
}

void CKorvelView::ConnectActions(const FrameActions& a) {
    connect(a.previousStock, &QAction::triggered, this, &CKorvelView::PreviousStock);
    connect(a.nextStock, &QAction::triggered, this, &CKorvelView::NextStock);
    connect(a.adjustPrices, &QAction::triggered, this, &CKorvelView::ToggleAdjusted);
    connect(a.addToWatchList, &QAction::triggered, this, &CKorvelView::AddCurrentStock);
    // The zoom and shift commands work from the list too: they show the chart.
    connect(a.zoomIn, &QAction::triggered, this, [this] {
        chart_->ZoomIn();
        SetMode(kChartMode);
    });
    connect(a.zoomOut, &QAction::triggered, this, [this] {
        chart_->ZoomOut();
        SetMode(kChartMode);
    });
    connect(a.shiftLeft, &QAction::triggered, this, [this] {
        chart_->ShiftLeft();
        SetMode(kChartMode);
    });
    connect(a.shiftRight, &QAction::triggered, this, [this] {
        chart_->ShiftRight();
        SetMode(kChartMode);
    });
    for (QAction* indicator : a.IndicatorActions())
        connect(indicator, &QAction::triggered, this, [this, indicator] { SelectIndicator(indicator->data().toString()); });
    connect(a.tradeSignals, &QAction::triggered, this, &CKorvelView::ShowTradeSignals);
}

void CKorvelView::UpdateCommandStates() {
    actions_.addToWatchList->setEnabled(mode_ == kChartMode);
    actions_.adjustPrices->setEnabled(mode_ == kChartMode && !busy_);
    actions_.adjustPrices->setChecked(dc_.IsAdjusted());
    for (QAction* indicator : actions_.IndicatorActions())
        indicator->setChecked(chart_->IsIndicatorEnabled(indicator->data().toString()));
    // The marks' check follows them only while the signals cover every bar
    // (the stock's strategy has been evaluated).
    const std::lock_guard lock(dc_.DataLock());
    if (dc_.Signals().size() == dc_.Dates().size())
        actions_.tradeSignals->setChecked(chart_->IsIndicatorEnabled(QStringLiteral("BS")));
}

void CKorvelView::Repaint() {
    list_->setVisible(mode_ == kListMode);
    chart_->setVisible(mode_ == kChartMode);
    if (mode_ == kChartMode && isVisible()) advicePanel_->ShowOver(*chart_);
    else advicePanel_->hide();
    chart_->update();
    update();
}

void CKorvelView::SetMode(int mode) {
    mode_ = mode == kChartMode ? kChartMode : kListMode;
    emit modeChanged(mode_);
    if (mode_ == kListMode) FillList();
    Repaint();
    (mode_ == kListMode ? static_cast<QWidget*>(list_) : chart_)->setFocus();
    UpdateCommandStates();
}

void CKorvelView::FillList() { model_.Fill(session_.Db()); }

int CKorvelView::BarCount() const {
    const std::lock_guard lock(dc_.DataLock());
    return static_cast<int>(dc_.Dates().size());
}

void CKorvelView::ShowNewestBars() { chart_->SetFirstVisibleBar(std::max(0, BarCount() - chart_->RequestedBarCount())); }

bool CKorvelView::OpenStock(const std::string& code, const std::string& market) {
    const std::vector<SyncJob> jobs =
        BuildViewJobs(session_.Db(), market, code, session_.server.update, CurrentYear());
    if (!dc_.LoadStock(code, market)) return false;
    busy_ = true;
    {
        const std::lock_guard lock(dc_.DataLock());
        dc_.Signals().clear();
    }
    RefreshAdvicePanel(false);
    ShowNewestBars();
    Repaint();
    UpdateCommandStates();
    emit busyStarted();

    const DailySyncRequest request{jobs, false, session_.server.update};
    const SyncReporter report = jobs_.Reporter([this, jobs](const SyncReport& r) { OnDailyReport(jobs, r); });
    const MessageSink show = jobs_.Sink(MessageBoxSink(this));
    const ServerAccess server = session_.Server();
    jobs_.Start([this, request, report, show, server] {
        return RunDailySync(session_.Db(), dc_, server, request, report, show);
    });
    return true;
}

bool CKorvelView::CurrentStockIn(const std::vector<SyncJob>& jobs) const {
    const std::lock_guard lock(dc_.DataLock());
    return std::any_of(jobs.begin(), jobs.end(),
                       [&](const SyncJob& j) { return j.market == dc_.Market() && j.code == dc_.Code(); });
}

void CKorvelView::OnDailyReport(const std::vector<SyncJob>& jobs, const SyncReport& report) {
    if (!CurrentStockIn(jobs)) return;
    // Reload the stock with what arrived, keeping the chart's distance from
    // the newest bar (or showing the newest bars when it was there).
    const int distance = BarCount() - chart_->FirstVisibleBar();
    std::string code, market;
    {
        const std::lock_guard lock(dc_.DataLock());
        code = dc_.Code();
        market = dc_.Market();
    }
    if (dc_.LoadStock(code, market)) {
        RefreshAdvicePanel(false);
        const int requested = chart_->RequestedBarCount();
        if (distance <= 0 || distance < requested) ShowNewestBars();
        else chart_->SetFirstVisibleBar(BarCount() - distance);
        Repaint();
    }
    if (report.result == SyncReport::kFailed) {
        RefreshAdvicePanel(true);
        busy_ = false;  // before the signal: its receivers ask IsBusy()
        emit busyStopped(0);
    } else if (report.result == SyncReport::kSucceeded) {
        busy_ = false;
        emit busyStopped(1);
        RefreshAdvicePanel(true);
        dc_.ToggleAdjusted();  // a synchronised stock shows adjusted prices
        chart_->update();
    }
    UpdateCommandStates();
}

std::vector<int> CKorvelView::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows()) rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CKorvelView::OpenSelectedStock() {
    const std::vector<int> rows = SelectedRows();
    if (rows.empty()) return;
    const WatchRow& row = model_.Row(rows.front());
    OpenStock(row.code, row.market);
    if (mode_ == kListMode) SetMode(kChartMode);
    Repaint();
}

void CKorvelView::MoveSelection(int step) {
    const int n = model_.rowCount();
    if (n < 2) return;
    const std::vector<int> rows = SelectedRows();
    const int row = rows.empty() ? (step < 0 ? n - 1 : 0) : (rows.front() + step + n) % n;
    list_->clearSelection();
    list_->selectRow(row);
    list_->scrollTo(model_.index(row, 0));
}

void CKorvelView::OpenNeighbour(int step) {
    const int n = model_.rowCount();
    if (n < 2) return;
    std::string market, code;
    {
        const std::lock_guard lock(dc_.DataLock());
        market = dc_.Market();
        code = dc_.Code();
    }
    int current = -1;
    for (int i = 0; i < n && current < 0; ++i)
        if (model_.Row(i).market == market && model_.Row(i).code == code) current = i;
    const int next = current < 0 ? (step < 0 ? n - 1 : 0) : (current + step + n) % n;
    const WatchRow row = model_.Row(next);
    OpenStock(row.code, row.market);
}

void CKorvelView::PreviousStock() { mode_ == kListMode ? MoveSelection(-1) : OpenNeighbour(-1); }

void CKorvelView::NextStock() { mode_ == kListMode ? MoveSelection(1) : OpenNeighbour(1); }

void CKorvelView::DeleteSelectedStocks() {
    const std::vector<int> rows = SelectedRows();
    if (rows.empty()) return;
    if (QMessageBox::question(this, ProgramTitle(), QStringLiteral("所执行删除操作是不可恢复的，确定要继续吗？"),
                              QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    std::vector<StockKey> stocks;
    for (const int row : rows) stocks.push_back({model_.Row(row).market, model_.Row(row).code});
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const int deleted = DeleteWatchedStocks(session_.Db(), stocks);
    QApplication::restoreOverrideCursor();
    if (deleted > 0) FillList();
}

void CKorvelView::AddCurrentStock() { ::AddCurrentStock(session_.Db(), dc_); }

void CKorvelView::ToggleAdjusted() {
    if (busy_) return;
    dc_.ToggleAdjusted();
    chart_->update();
    UpdateCommandStates();
}

void CKorvelView::SelectIndicator(const QString& key) {
    chart_->SelectIndicator(key);
    if (mode_ == kListMode) SetMode(kChartMode);
    else Repaint();
    UpdateCommandStates();
}

void CKorvelView::ShowTradeSignals() {
    chart_->ShowMarks();
    if (mode_ == kListMode) SetMode(kChartMode);
    else Repaint();
    UpdateCommandStates();
}

bool CKorvelView::OpenCodeSearchFor(const QKeyEvent& key) {
    const QString text = key.text();
    if (text.size() != 1 || !text[0].isLetterOrNumber() || text[0].unicode() > 0x7f ||
        (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    if (!codeSearch_->isVisible()) codeSearch_->OpenWith(text);
    return true;
}

void CKorvelView::RefreshAdvicePanel(bool withAdvice) {
    ::RefreshAdvicePanel(*advicePanel_, session_.Db(), dc_, withAdvice);
}

void CKorvelView::ShowListMenu(const QPoint& globalPos) {
    if (mode_ != kListMode) return;
    const std::vector<int> rows = SelectedRows();
    if (rows.empty()) return;
    QMenu menu(this);
    QAction* chart = menu.addAction(QStringLiteral("K线图"), this, &CKorvelView::OpenSelectedStock);
    QAction* report = menu.addAction(QStringLiteral("策略报告"), actions_.strategyReport, &QAction::trigger);
    menu.addSeparator();
    menu.addAction(QStringLiteral("删除"), this, &CKorvelView::DeleteSelectedStocks);
    const bool single = rows.size() == 1;
    chart->setEnabled(single);
    report->setEnabled(single && !model_.Row(rows.front()).report.empty() && actions_.strategyReport->isEnabled());
    menu.exec(globalPos);
}

void CKorvelView::resizeEvent(QResizeEvent*) {
    list_->setGeometry(rect().adjusted(10, 15, -27, -32).translated(1, 1));
    chart_->setGeometry(rect());
}

void CKorvelView::paintEvent(QPaintEvent*) { QPainter(this).fillRect(rect(), kListBackground); }

void CKorvelView::keyPressEvent(QKeyEvent* event) {
    if (OpenCodeSearchFor(*event)) return;
    if (mode_ == kListMode && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        ShowListMenu(QCursor::pos());
        return;
    }
    QWidget::keyPressEvent(event);
}

bool CKorvelView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            OpenSelectedStock();
            return true;
        }
        if (OpenCodeSearchFor(*key)) return true;
    }
    return QWidget::eventFilter(watched, event);
}
