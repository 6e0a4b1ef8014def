#include "app/dialogs/breed_all_dlg.h"

#include <QColor>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string>

namespace {

// The table's column widths in pixels; the last (备注) takes the rest.
constexpr int kColumnWidths[] = {40, 64, 84, 68, 64, 60, 76, 64};
// 适应度 .. 累计盈利%: numbers, right-aligned.
constexpr int kFirstNumber = 3;
constexpr int kLastNumber = 6;

}  // namespace

BatchBreed DesktopBatch(const Database& db) {
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/korvel-cli");
    return {QFileInfo(program).isExecutable() ? program.toStdString() : std::string(),
            std::filesystem::path(db.Path()).parent_path().string(),
            {"--save"},
            static_cast<size_t>(std::max(1, QThread::idealThreadCount()))};
}

CBreedAllDlg::CBreedAllDlg(Database& db, BatchBreed batch, QWidget* parent)
    : QDialog(parent),
      stocks_(LoadWatchedStocks(db)),
      summary_(new QLabel(this)),
      bar_(new QProgressBar(this)),
      timing_(new QLabel(this)),
      table_(new QTableWidget(0, static_cast<int>(BatchTableHeader().size()), this)),
      button_(new QPushButton(QStringLiteral("停止"), this)),
      ticker_(new QTimer(this)) {
    setWindowTitle(QStringLiteral("为全部自选股生成策略"));
    QStringList header;
    for (const std::string& title : BatchTableHeader()) header << QString::fromStdString(title);
    table_->setHorizontalHeaderLabels(header);
    for (int c = 0; c < static_cast<int>(std::size(kColumnWidths)); ++c) table_->setColumnWidth(c, kColumnWidths[c]);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    bar_->setRange(0, static_cast<int>(stocks_.size()));
    bar_->setValue(0);
    bar_->setFormat(QStringLiteral("%v/%m"));
    button_->setAutoDefault(false);
    connect(button_, &QPushButton::clicked, this, [this] { busy_ ? Stop() : accept(); });
    connect(ticker_, &QTimer::timeout, this, &CBreedAllDlg::ShowTiming);

    auto* row = new QHBoxLayout;
    row->addWidget(timing_, 1);
    row->addWidget(button_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(bar_);
    layout->addLayout(row);
    layout->addWidget(table_, 1);
    resize(700, 460);
    Start(std::move(batch));
}

CBreedAllDlg::~CBreedAllDlg() { stop_ = true; }

void CBreedAllDlg::Start(BatchBreed batch) {
    summary_->setText(QStringLiteral("正在为 %1 只自选股生成操盘策略，每次 %2 只……")
                          .arg(stocks_.size())
                          .arg(std::max<size_t>(batch.jobs, 1)));
    busy_ = true;
    clock_.start();
    ticker_->start(1000);
    ShowTiming();
    // The worker never waits for this window: each report is a copy posted
    // to it, dropped should the window be gone.
    const auto progress = [this](const BatchProgress& p) {
        const auto show = [this, done = p.done, left = p.remainingSeconds, latest = *p.latest] {
            OnProgress(done, left, latest);
        };
        QMetaObject::invokeMethod(this, show, Qt::QueuedConnection);
    };
    jobs_.Start(
        [this, batch = std::move(batch), progress] {
            outcomes_ = BreedWatchList(stocks_, batch, progress, stop_);
            return 0;
        },
        [this](int) { OnEnded(); });
}

void CBreedAllDlg::OnProgress(size_t done, double remainingSeconds, const BreedOutcome& latest) {
    done_ = done;
    remaining_ = remainingSeconds;
    estimatedAt_ = clock_.elapsed();
    bar_->setValue(static_cast<int>(done_));
    AddRow(latest);
    ShowTiming();
}

void CBreedAllDlg::ShowTiming() {
    const double elapsed = static_cast<double>(clock_.elapsed()) / 1000;
    QString text = QStringLiteral("已完成 %1/%2　已用时间 %3")
                       .arg(done_)
                       .arg(stocks_.size())
                       .arg(QString::fromStdString(ClockText(elapsed)));
    if (busy_) {
        const double left = remaining_ - static_cast<double>(clock_.elapsed() - estimatedAt_) / 1000;
        const QString estimate = remaining_ < 0 ? QStringLiteral("--") : QString::fromStdString(ClockText(left));
        text += QStringLiteral("　预计剩余 ") + estimate;
    }
    timing_->setText(text);
}

void CBreedAllDlg::AddRow(const BreedOutcome& outcome) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    const std::vector<std::string> cells = BatchTableCells(outcome);
    for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
        auto* item = new QTableWidgetItem(QString::fromStdString(cells[static_cast<size_t>(c)]));
        const bool number = c >= kFirstNumber && c <= kLastNumber;
        item->setTextAlignment(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
        if (!outcome.summary) item->setForeground(QColor(160, 0, 0));
        table_->setItem(row, c, item);
    }
}

void CBreedAllDlg::OnEnded() {
    busy_ = false;
    ticker_->stop();
    SortByAccumulatedProfit(outcomes_);
    table_->setRowCount(0);
    size_t bred = 0;
    for (const BreedOutcome& o : outcomes_) {
        AddRow(o);
        if (o.summary) ++bred;
    }
    const QString counts = QStringLiteral("%1 只成功，%2 只未生成").arg(bred).arg(outcomes_.size() - bred);
    summary_->setText((stop_ ? QStringLiteral("已停止：") : QStringLiteral("生成完毕：")) + counts +
                      QStringLiteral("（按累计盈利排序）"));
    ShowTiming();
    button_->setEnabled(true);
    button_->setText(QStringLiteral("关闭"));
    emit batchEnded();
}

void CBreedAllDlg::Stop() {
    if (!busy_ || stop_) return;
    stop_ = true;
    button_->setEnabled(false);
    summary_->setText(QStringLiteral("正在停止……已保存的策略将保留"));
}

void CBreedAllDlg::reject() {
    if (busy_) {
        Stop();
        return;
    }
    QDialog::reject();
}
