#pragma once
// The user-interface thread's message loop as the download reader sees it: a thread-safe way to
// hand work to that thread. Notifications of a background read are posted here so that they run on
// the user-interface thread, one after another, in the order they were posted.

#include <functional>

class DownloadMessageLoop {
  public:
    virtual ~DownloadMessageLoop() = default;
    // Queues task to run on the user-interface thread. Callable from any thread.
    virtual void post(std::function<void()> task) = 0;
};
