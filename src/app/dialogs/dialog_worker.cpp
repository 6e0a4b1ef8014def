#include "app/dialogs/dialog_worker.h"

#include <chrono>

DialogWorker::~DialogWorker() {
    ui_.Close();
    Join();
}

void DialogWorker::Start(std::function<void(const UiCall& ui)> job) {
    Join();
    running_ = true;
    thread_ = std::thread([this, job = std::move(job)] {
        job(ui_);
        running_ = false;
    });
}

// The job may be blocked in a report to this thread: deliver reports while
// waiting, so it can go on to its end.
void DialogWorker::Join() {
    while (running_) {
        ui_.Deliver();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (thread_.joinable()) thread_.join();
}
