#include "base/TaskPool.h"

#include <algorithm>

namespace base {

TaskPool::TaskPool(int threads) {
    for (int i = 0; i < std::max(threads, 1); ++i)
        threads_.emplace_back([this] { run(); });
}

TaskPool::~TaskPool() {
    {
        std::lock_guard lock(mutex_);
        ending_ = true;
    }
    wake_.notify_all();
    for (auto& thread : threads_)
        thread.join();
}

void TaskPool::post(std::function<void()> task) {
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    wake_.notify_one();
}

void TaskPool::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return ending_ || !tasks_.empty(); });
        if (tasks_.empty()) return; // ending, with nothing left to run
        auto task = std::move(tasks_.front());
        tasks_.pop_front();
        lock.unlock();
        task();
        lock.lock();
    }
}

} // namespace base
