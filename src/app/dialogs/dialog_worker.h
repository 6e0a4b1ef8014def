#pragma once
// One background job at a time for a dialog: the job runs on its own thread
// and reports through a UiCall, waiting for each report to be handled.
// Destroying the worker skips the reports still to come and waits for the
// job to end, so a dialog may go away while its job runs.
#include <atomic>
#include <functional>
#include <thread>

#include "app/dialogs/ui_call.h"

class DialogWorker {
public:
    DialogWorker() = default;
    ~DialogWorker();
    DialogWorker(const DialogWorker&) = delete;
    DialogWorker& operator=(const DialogWorker&) = delete;

    // Starts `job` on a new thread, after the previous job's thread has
    // ended. The job hands its reports to the dialog through the UiCall.
    void Start(std::function<void(const UiCall& ui)> job);

    // True from Start() until the job's thread function has returned.
    bool Running() const { return running_; }

private:
    void Join();

    UiCall ui_;
    std::atomic<bool> running_ = false;
    std::thread thread_;  // last: joined before the rest goes away
};
