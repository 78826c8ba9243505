#pragma once
// Writes Flash saves to disk on threads of their own, so a game that saves often never holds up the
// user interface. Each file is replaced atomically (its folder created first) or removed; of the
// changes to one file that wait their turn only the latest is carried out, and a file is never
// written by two threads at once, so its latest change lands last. Several threads write different
// files together: a movie that ends writes all its shared objects at once, and their waits for the
// disk then overlap. The destructor carries out what is still waiting, so closing the program loses
// no save. A change that fails (a full disk, a folder that cannot be written) is reported with its
// file, so the player of that movie can say that its progress is not kept.

#include <condition_variable>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace viewer {

class SaveWriter {
  public:
    static constexpr int Threads = 4;

    SaveWriter();
    ~SaveWriter();
    SaveWriter(const SaveWriter&) = delete;
    SaveWriter& operator=(const SaveWriter&) = delete;

    // Queues file to hold bytes, or to be removed when bytes is empty (nullopt).
    void put(const std::filesystem::path& file, std::optional<std::string> bytes);
    // Returns once every change queued before the call is on disk (or has failed).
    void waitIdle();
    // The same for the changes of the files in folder alone: changes to other folders may go on.
    void waitIdle(const std::filesystem::path& folder);
    // Called with the file of each change that failed from now on, on a writing thread while no
    // other call of it runs; an empty function stops the reports, once any under way has ended.
    using FailureReport = std::function<void(const std::filesystem::path& file)>;
    void setFailureReport(FailureReport report);
    // How many writes or removals failed so far (a full disk, a folder without permission).
    int failures() const;

  private:
    using Pending = std::map<std::filesystem::path, std::optional<std::string>>;
    void run();
    // The first waiting change whose file no thread is writing; end() when there is none.
    Pending::iterator nextChange();
    // Whether a change to a file in folder waits or is being carried out.
    bool busyIn(const std::filesystem::path& folder) const;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    Pending pending_;
    std::set<std::filesystem::path> writing_;
    bool stopping_ = false;
    int failures_ = 0;
    FailureReport report_;
    std::vector<std::thread> threads_; // last: they start after the members they use
};

} // namespace viewer
