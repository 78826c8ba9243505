#pragma once
// Writes Flash saves to disk on a thread of its own, so a game that saves often never holds up the
// user interface. Each file is replaced atomically (its folder created first) or removed; of the
// changes to one file that wait their turn only the latest is carried out. The destructor carries
// out what is still waiting, so closing the program loses no save.

#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace viewer {

class SaveWriter {
  public:
    SaveWriter();
    ~SaveWriter();
    SaveWriter(const SaveWriter&) = delete;
    SaveWriter& operator=(const SaveWriter&) = delete;

    // Queues file to hold bytes, or to be removed when bytes is empty (nullopt).
    void put(const std::filesystem::path& file, std::optional<std::string> bytes);
    // Returns once every change queued before the call is on disk (or has failed).
    void waitIdle();
    // How many writes or removals failed so far (a full disk, a folder without permission).
    int failures() const;

  private:
    void run();

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::map<std::filesystem::path, std::optional<std::string>> pending_;
    bool busy_ = false;
    bool stopping_ = false;
    int failures_ = 0;
    std::thread thread_; // last: starts after the members it uses
};

} // namespace viewer
