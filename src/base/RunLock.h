#pragma once
// One holder at a time of something in the application folder: an advisory lock on a file there.
// The system drops the lock when its holder ends, also when it is killed, so a crash never leaves
// it taken. Sorrel waits for it, so that of two rebuilds of the page cache the later one (for
// instance the one after a skin change with a new page colour) is the last to write every page;
// Brindle only tries it, so that a second start in the same folder can step aside at once.

#include <filesystem>

namespace base {

class RunLock {
  public:
    enum class Mode {
        Wait, // until the lock is free
        Try   // give up at once when another holder has it
    };

    // Takes the lock on file (created when missing). A file that cannot be opened or locked gives
    // no lock and is not busy either: the caller then runs unguarded, as before there was a lock.
    explicit RunLock(const std::filesystem::path& file, Mode mode = Mode::Wait);
    ~RunLock();
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

    bool held() const { return held_; }
    // Mode::Try only: another holder has the lock.
    bool busy() const { return busy_; }

  private:
    int fd_ = -1;
    bool held_ = false;
    bool busy_ = false;
};

} // namespace base
