#include "app/job_runner.h"

#include <QCoreApplication>
#include <QThread>

#include "sync/sync_worker.h"

JobRunner::JobRunner(QObject* parent) : QObject(parent) {}

JobRunner::~JobRunner() {
    closing_ = true;
    WaitForAll();
}

void JobRunner::CallOnOwnThread(const std::function<void()>& call) {
    if (QThread::currentThread() == thread()) {
        if (!closing_) call();
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, &call] {
            if (!closing_) call();
        },
        Qt::BlockingQueuedConnection);
}

SyncReporter JobRunner::Reporter(std::function<void(const SyncReport&)> handler) {
    return [this, handler = std::move(handler)](const SyncReport& report) {
        CallOnOwnThread([&] { handler(report); });
    };
}

MessageSink JobRunner::Sink(MessageSink show) {
    return [this, show = std::move(show)](std::string_view message) {
        CallOnOwnThread([&] { show(message); });
    };
}

void JobRunner::Start(std::function<int()> job, std::function<void(int)> ended) {
    const int id = nextId_++;
    // The end is posted to this thread, which reaps the worker there; the
    // entry below is in place before this thread can handle it.
    auto run = [this, id, job = std::move(job)] {
        int result = SyncReport::kFailed;
        try {
            result = job();
        } catch (...) {
        }
        QMetaObject::invokeMethod(this, [this, id, result] { Reap(id, result); }, Qt::QueuedConnection);
        return result;
    };
    workers_[id] = Job{std::make_unique<SyncWorker>(std::move(run)), std::move(ended)};
}

void JobRunner::Reap(int id, int result) {
    const auto it = workers_.find(id);
    if (it == workers_.end()) return;
    it->second.worker->Wait();  // the job has returned: this only joins the thread
    std::function<void(int)> ended = std::move(it->second.ended);
    workers_.erase(it);
    if (ended && !closing_) ended(result);
}

void JobRunner::WaitForAll() {
    while (!workers_.empty()) {
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
        if (!workers_.empty()) QThread::msleep(1);
    }
}
