#include "base/TaskPool.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <vector>

namespace {

// Tasks that wait run side by side, and the pool's end comes only after every task posted has run,
// also those still queued behind the waiting ones.
TEST(TaskPoolTest, WaitingTasksOverlapAndTheEndRunsEveryTask) {
    std::mutex mutex;
    std::condition_variable changed;
    int started = 0;
    std::vector<bool> sawTheOther;
    std::atomic<int> ran{0};
    {
        base::TaskPool pool(2);
        for (int i = 0; i < 2; ++i) {
            pool.post([&] {
                std::unique_lock lock(mutex);
                ++started;
                changed.notify_all();
                // The bound only keeps a pool that runs one task at a time from hanging the test.
                sawTheOther.push_back(
                    changed.wait_for(lock, std::chrono::seconds(30), [&] { return started == 2; }));
            });
        }
        for (int i = 0; i < 100; ++i)
            pool.post([&] { ++ran; });
    }
    EXPECT_EQ(sawTheOther, std::vector<bool>({true, true}));
    EXPECT_EQ(ran, 100);
}

} // namespace
