// The worker thread a synchronisation job runs on.
#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "sync/sync_worker.h"

namespace {

// The job runs on a thread of its own; its result or exception reaches the
// waiter, and the worker going away waits for the job.
TEST(SyncWorker, RunsTheJobOnItsOwnThreadAndHandsBackItsOutcome) {
    std::thread::id jobThread;
    EXPECT_EQ(SyncWorker([&] {
                  jobThread = std::this_thread::get_id();
                  return -1;
              }).Wait(),
              -1);
    EXPECT_NE(jobThread, std::this_thread::get_id());
    EXPECT_THROW(SyncWorker([]() -> int { throw std::runtime_error("job failed"); }).Wait(), std::runtime_error);
    bool finished = false;
    {
        SyncWorker worker([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            finished = true;
            return 1;
        });
    }
    EXPECT_TRUE(finished);
}

}  // namespace
