#pragma once
// Runs core jobs (server requests, synchronisations, page fetches) on worker
// threads for a window and brings their reports to the window's thread.
//
// A report is handed over with a blocking queued call: the worker waits
// until the window has handled it, as the core's synchronous reports expect,
// while the window's thread never waits on a worker and never freezes.
//
// When the runner goes away it keeps delivering reports (no longer to their
// handlers) until every job has ended: a worker blocked in a report must be
// released, and a job is never abandoned in the middle of a transaction.
#include <QObject>

#include <atomic>
#include <functional>
#include <map>
#include <memory>

#include "datastore/message_sink.h"
#include "sync/sync_report.h"

class SyncWorker;

class JobRunner : public QObject {
    Q_OBJECT
public:
    explicit JobRunner(QObject* parent = nullptr);
    ~JobRunner() override;

    // A receiver for a job's reports: each one reaches `handler` on the
    // runner's thread before the worker goes on. A report made on the
    // runner's own thread reaches the handler directly.
    SyncReporter Reporter(std::function<void(const SyncReport& report)> handler);

    // A message sink for a job: `show` runs on the runner's thread (a message
    // box there) while the worker waits.
    MessageSink Sink(MessageSink show);

    // Starts `job` on a worker thread of its own. `ended`, when given, gets
    // the job's result on the runner's thread once the job has returned (a
    // job that throws counts as failed).
    void Start(std::function<int()> job, std::function<void(int result)> ended = {});

    // Jobs started and not yet ended.
    size_t Running() const { return workers_.size(); }

    // Handles the runner's reports until every job has ended.
    void WaitForAll();

private:
    // Runs `call` on the runner's thread and returns once it has run.
    void CallOnOwnThread(const std::function<void()>& call);
    void Reap(int id, int result);

    struct Job {
        std::unique_ptr<SyncWorker> worker;
        std::function<void(int)> ended;
    };
    std::map<int, Job> workers_;
    int nextId_ = 0;
    std::atomic<bool> closing_ = false;  // reports are only released, not handled
};
