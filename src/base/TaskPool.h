#pragma once
// A few threads that run posted tasks, for work that mostly waits (such as a file write waiting for
// the disk), so that several of those waits overlap and the thread that posts them goes on at once.
// Tasks start in the order they were posted; the pool's end waits until every posted task has run.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace base {

class TaskPool {
  public:
    // threads: how many tasks run at once (at least one).
    explicit TaskPool(int threads);
    // Runs every task still waiting, then ends the threads.
    ~TaskPool();
    TaskPool(const TaskPool&) = delete;
    TaskPool& operator=(const TaskPool&) = delete;

    // Queues task, which must not throw.
    void post(std::function<void()> task);

  private:
    void run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> tasks_;
    bool ending_ = false;
    std::vector<std::thread> threads_;
};

} // namespace base
