#pragma once
// A message loop for programs without a window toolkit (the bkdl command, tests): a queue that
// any thread fills and the owning thread drains.

#include "controls/DownloadMessageLoop.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

class DownloadQueueLoop : public DownloadMessageLoop {
  public:
    void post(std::function<void()> task) override;

    // Runs the tasks queued so far, waiting up to timeout for the first one when none is queued.
    // Returns the number of tasks run.
    std::size_t runPending(std::chrono::milliseconds timeout);

  private:
    std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<std::function<void()>> tasks_;
};
