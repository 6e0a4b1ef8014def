// The worker thread a synchronisation job runs on.
#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "sync/sync_worker.h"

namespace {

TEST(SyncWorker, RunsTheJobOnAThreadOfItsOwnAndHandsBackItsResult) {
    std::thread::id jobThread;
    SyncWorker worker([&] {
        jobThread = std::this_thread::get_id();
        return -1;
    });
    EXPECT_EQ(worker.Wait(), -1);
    EXPECT_NE(jobThread, std::this_thread::get_id());
}

TEST(SyncWorker, AJobsExceptionReachesTheWaiter) {
    SyncWorker worker([]() -> int { throw std::runtime_error("job failed"); });
    EXPECT_THROW(worker.Wait(), std::runtime_error);
}

TEST(SyncWorker, GoingAwayWaitsForTheJob) {
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
