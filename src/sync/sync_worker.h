#pragma once
// A synchronisation job on a thread of its own. The job reports through its
// SyncReporter, which is called on the worker thread; the receiver returns
// only when the report has been handled, so the job never runs ahead of the
// one watching it.
//
// The worker is joined when it goes away: a job is never abandoned in the
// middle of a transaction. A receiver that hands reports to another thread
// must therefore keep handling them until the job has ended.
#include <functional>
#include <future>
#include <thread>

class SyncWorker {
public:
    // Starts `job` at once; its result is the job's final result.
    explicit SyncWorker(std::function<int()> job);
    SyncWorker(const SyncWorker&) = delete;
    SyncWorker& operator=(const SyncWorker&) = delete;
    ~SyncWorker() = default;  // the thread joins

    // Waits for the job to end and returns its result; rethrows what the
    // job threw. Call it once.
    int Wait();

private:
    std::future<int> result_;
    std::jthread thread_;
};
