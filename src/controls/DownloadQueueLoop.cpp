#include "controls/DownloadQueueLoop.h"

void DownloadQueueLoop::post(std::function<void()> task) {
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    queued_.notify_one();
}

std::size_t DownloadQueueLoop::runPending(std::chrono::milliseconds timeout) {
    std::deque<std::function<void()>> batch;
    {
        std::unique_lock lock(mutex_);
        queued_.wait_for(lock, timeout, [this] { return !tasks_.empty(); });
        batch.swap(tasks_);
    }
    // Tasks run without the lock: they may post further tasks, which the next call picks up.
    for (auto& task : batch)
        task();
    return batch.size();
}
