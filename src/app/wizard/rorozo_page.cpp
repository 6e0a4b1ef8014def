#include "app/wizard/rorozo_page.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>

#include "app/gbk_text.h"
#include "app/dialogs/user_messages.h"
#include "app/wizard/run_chart.h"

namespace {

const QString kRunningRefusal = QStringLiteral("正在生成操盘策略，请先结束生成过程！");
const QString kNoStrategy = QStringLiteral("操盘策略没有生成，无法查看破译报告！");

bool SameTrades(const std::vector<TradeLogEntry>& a, const std::vector<TradeLogEntry>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const TradeLogEntry& x, const TradeLogEntry& y) {
        return x.date == y.date && x.kind == y.kind && x.price == y.price && x.profit == y.profit &&
               x.total == y.total;
    });
}

}  // namespace

CTheRorozoPage::CTheRorozoPage(int templateId, const WizardContext& context)
    : CNewWizPage(templateId, QStringLiteral("生成操盘策略")), context_(context) {}

CTheRorozoPage::~CTheRorozoPage() {
    if (!run_) return;
    // The worker may be waiting for this thread in a report: skip the
    // reports and deliver the waiting one while it winds down.
    ui_.Close();
    run_->Stop();
    while (!workerDone_) {
        ui_.Deliver();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    run_.reset();
}

bool CTheRorozoPage::OnCreatePage() {
    picture_.stock = Shown(context_.dc.Code()) + QLatin1Char(' ') + Shown(context_.dc.DisplayName());
    chart_ = new RunChart(picture_, this);
    busy_ = new QProgressBar(this);
    busy_->setTextVisible(false);
    busy_->setRange(0, 1);
    busy_->setValue(0);
    button_ = new QPushButton(QStringLiteral("生成策略"), this);
    button_->setAutoDefault(false);
    connect(button_, &QPushButton::clicked, this, &CTheRorozoPage::StartStop);
    auto* row = new QHBoxLayout;
    row->addWidget(busy_, 1);
    row->addWidget(button_);
    Body()->addWidget(chart_, 1);
    Body()->addLayout(row);

    context_.dc.Parameters().generating = 0;
    StartRun();
    return true;
}

void CTheRorozoPage::OnSetActive() {
    const RunParameters& params = context_.dc.Parameters();
    const std::vector<int32_t>& shown = picture_.range.dates;
    if (generating_ || !run_ || shown.empty()) return;
    if (shown.front() != params.rangeBegin || shown.back() != params.rangeEnd) StartRun();
}

void CTheRorozoPage::StartStop() {
    if (!generating_) {
        StartRun();
        return;
    }
    if (run_) run_->Stop();
    button_->setEnabled(false);
    button_->setText(QStringLiteral("结束中..."));
}

void CTheRorozoPage::StartRun() {
    run_.reset();  // the previous worker has reported its end; this joins it
    GenerationHooks hooks;
    hooks.evaluator = context_.evaluator;
    hooks.progress = [this](const GenerationProgress&) { ui_.Run([this] { OnGeneration(); }); };
    hooks.finished = [this] {
        ui_.Run([this] { OnRunEnded(); });
        workerDone_ = true;
    };
    // Messages may come from the worker; boxes open on this thread.
    const MessageSink show = [this](std::string_view message) {
        const QString text = QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size()));
        ui_.Run([&] { Inform(this, text); });
    };
    workerDone_ = false;
    run_ = GenerationRun::Start(context_.dc, std::move(hooks), show);
    if (!run_) {
        workerDone_ = true;
        return;
    }
    generating_ = true;
    context_.dc.Parameters().notifyWindow = reinterpret_cast<std::uintptr_t>(this);
    busy_->setRange(0, 0);  // the moving busy bar
    button_->setEnabled(true);
    button_->setText(QStringLiteral("结束生成"));
    TakePicture();
    repaint();
}

// The worker waits meanwhile: the run parameters hold still. Only the
// status line and the charts change.
void CTheRorozoPage::OnGeneration() {
    TakePicture();
    chart_->RepaintGeneration();
}

void CTheRorozoPage::OnRunEnded() {
    RunParameters& params = context_.dc.Parameters();
    params.generating = 0;
    params.resultSaved = 0;
    generating_ = false;
    busy_->setRange(0, 1);
    busy_->setValue(params.winRateHistory.empty() ? 0 : 1);
    button_->setEnabled(true);
    button_->setText(QStringLiteral("生成策略"));
    TakePicture();
    repaint();
}

void CTheRorozoPage::TakePicture() {
    const RunParameters& params = context_.dc.Parameters();
    picture_.generating = generating_;
    picture_.stallCount = params.generation;
    picture_.winRates = params.winRateHistory;
    // The trades change only when the best strategy improves.
    const bool sameRange = !picture_.range.dates.empty() && picture_.range.dates.front() == params.rangeBegin &&
                           picture_.range.dates.back() == params.rangeEnd;
    if (!sameRange) ++picture_.rangeVersion;
    if (!sameRange || !SameTrades(picture_.trades, params.tradeLog)) {
        picture_.trades = params.tradeLog;
        picture_.range = ComputeRangeFigures(context_.dc, params.rangeBegin, params.rangeEnd, params.tradeLog);
        ++picture_.chartVersion;
    }
}

bool CTheRorozoPage::RefuseWhileGenerating() {
    if (generating_) Inform(this, kRunningRefusal);
    return generating_;
}

bool CTheRorozoPage::OnKillActive() { return !RefuseWhileGenerating(); }

bool CTheRorozoPage::OnQueryCancel() { return !RefuseWhileGenerating(); }

int CTheRorozoPage::OnWizardBack() { return RefuseWhileGenerating() ? -1 : 0; }

int CTheRorozoPage::OnWizardNext() {
    if (RefuseWhileGenerating()) return -1;
    if (context_.dc.Parameters().winRateHistory.empty()) {
        Inform(this, kNoStrategy);
        return -1;
    }
    return 0;
}
