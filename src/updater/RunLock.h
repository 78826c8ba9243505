#pragma once
// One rebuild of the page cache at a time. A Sorrel that starts while another one still runs in
// the same application folder waits for it before it reads the settings, so the later run (for
// instance the one after a skin change with a new page colour) is the last to write every page.
// The lock is an advisory lock on a file of the application folder; the system drops it when the
// holder ends, also when it is killed.

#include <filesystem>

class RunLock {
  public:
    // Waits until the lock on file is free and takes it. A file that cannot be opened or locked
    // gives no lock: the rebuild then runs unguarded, as before there was a lock.
    explicit RunLock(const std::filesystem::path& file);
    ~RunLock();
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

    bool held() const { return held_; }

  private:
    int fd_ = -1;
    bool held_ = false;
};
