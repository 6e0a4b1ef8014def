#pragma once
// How the generation run's worker reports to the generation page: the
// report runs on the page's thread and the worker waits until it has run,
// as the core's synchronous reports expect (a blocking queued call). The
// dialogs' jobs use JobRunner, which does the same for threads it starts;
// the run's thread belongs to GenerationRun, so the page has this.
//
// A window that goes away while its worker runs closes the UiCall first:
// reports not yet run, and later ones, are skipped (the worker goes on
// without waiting), and Deliver() lets a worker blocked in a report go on
// while the window waits for it to end.
#include <atomic>
#include <functional>
#include <memory>

#include <QObject>

class UiCall {
public:
    // Made on the thread the reports run on.
    UiCall();
    ~UiCall();
    UiCall(const UiCall&) = delete;
    UiCall& operator=(const UiCall&) = delete;

    // From the worker: runs `report` on the window's thread and returns when
    // it has run or has been skipped. From the window's own thread it runs
    // `report` at once.
    void Run(const std::function<void()>& report) const;

    // From the window's thread: skips every report that has not run yet.
    void Close();
    // From the window's thread: runs, or after Close() skips, the reports
    // waiting now, so a worker blocked in Run() goes on.
    void Deliver();

private:
    std::unique_ptr<QObject> context_;  // lives on the window's thread
    std::atomic<bool> closed_ = false;
};
