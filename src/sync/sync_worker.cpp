#include "sync/sync_worker.h"

SyncWorker::SyncWorker(std::function<int()> job) {
    std::packaged_task<int()> task(std::move(job));
    result_ = task.get_future();
    thread_ = std::jthread(std::move(task));
}

int SyncWorker::Wait() {
    if (thread_.joinable()) thread_.join();
    return result_.get();
}
