#pragma once
// CTheRorozoPage ("生成操盘策略"), the wizard's second page: breeds a strategy
// for the current stock on a worker thread, started when the page is
// created and by "生成策略", stopped by "结束生成". After every generation the
// worker waits while the page copies what it shows (RunPicture) and
// repaints, so the picture is always one consistent state, whenever the
// window system asks for a repaint. The page refuses every move of the
// wizard while a run is going on. The status line is drawn with the charts
// (RunChart), so a repaint after a generation touches one widget.
#include <atomic>
#include <memory>

#include <QString>

#include "app/wizard/ui_call.h"
#include "app/wizard/new_wiz_page.h"
#include "app/wizard/wizard_charts.h"
#include "app/wizard/wizard_context.h"
#include "strategy/generation_run.h"

class RunChart;
class QProgressBar;
class QPushButton;

class CTheRorozoPage : public CNewWizPage {
    Q_OBJECT
public:
    CTheRorozoPage(int templateId, const WizardContext& context);
    // Stops a run still going on and waits for its worker.
    ~CTheRorozoPage() override;

    bool OnCreatePage() override;
    // Back on the page after the range changed (the range page's
    // out-of-sample option): the strategy shown was bred on other days, so
    // a new run starts.
    void OnSetActive() override;
    bool OnKillActive() override;
    bool OnQueryCancel() override;
    int OnWizardBack() override;
    int OnWizardNext() override;

    // The button: stops the run going on, or starts a new one.
    void StartStop();

    bool Generating() const { return generating_; }
    QPushButton* RunButton() const { return button_; }
    QString StatusText() const { return StatusTextOf(picture_); }
    const RunPicture& Picture() const { return picture_; }

private:
    void StartRun();
    void OnGeneration();
    void OnRunEnded();
    void TakePicture();
    bool RefuseWhileGenerating();

    WizardContext context_;
    bool generating_ = false;  // from the start of a run until its end is handled here
    RunPicture picture_;
    QPushButton* button_ = nullptr;
    QProgressBar* busy_ = nullptr;
    RunChart* chart_ = nullptr;
    UiCall ui_;
    std::atomic<bool> workerDone_ = true;
    std::unique_ptr<GenerationRun> run_;  // last: its worker ends first
};
