#include "viewer/SaveWriter.h"

#include "base/AtomicFile.h"

#include <algorithm>
#include <system_error>

namespace viewer {

namespace fs = std::filesystem;

SaveWriter::SaveWriter() {
    for (int i = 0; i < Threads; ++i)
        threads_.emplace_back([this] { run(); });
}

SaveWriter::~SaveWriter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (auto& thread : threads_)
        thread.join();
}

void SaveWriter::put(const fs::path& file, std::optional<std::string> bytes) {
    {
        std::lock_guard lock(mutex_);
        pending_[file] = std::move(bytes);
    }
    wake_.notify_one();
}

void SaveWriter::waitIdle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return pending_.empty() && writing_.empty(); });
}

void SaveWriter::waitIdle(const fs::path& folder) {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [&] { return !busyIn(folder); });
}

bool SaveWriter::busyIn(const fs::path& folder) const {
    const auto inFolder = [&](const fs::path& file) { return file.parent_path() == folder; };
    return std::any_of(pending_.begin(), pending_.end(),
                       [&](const auto& change) { return inFolder(change.first); }) ||
           std::any_of(writing_.begin(), writing_.end(), inFolder);
}

void SaveWriter::setFailureReport(FailureReport report) {
    std::lock_guard lock(mutex_);
    report_ = std::move(report);
}

int SaveWriter::failures() const {
    std::lock_guard lock(mutex_);
    return failures_;
}

SaveWriter::Pending::iterator SaveWriter::nextChange() {
    auto change = pending_.begin();
    while (change != pending_.end() && writing_.contains(change->first))
        ++change;
    return change;
}

void SaveWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock,
                   [this] { return (stopping_ && pending_.empty()) || nextChange() != pending_.end(); });
        if (pending_.empty()) return; // stopping, with nothing left to write
        auto change = pending_.extract(nextChange());
        writing_.insert(change.key());
        lock.unlock();
        std::error_code ec;
        bool ok;
        if (change.mapped()) {
            fs::create_directories(change.key().parent_path(), ec);
            ok = base::writeFileAtomic(change.key(), *change.mapped());
        } else {
            ok = fs::remove(change.key(), ec) || !ec;
        }
        lock.lock();
        writing_.erase(change.key());
        if (!ok) {
            ++failures_;
            // Under the lock, so a report never runs after setFailureReport has replaced it.
            if (report_) report_(change.key());
        }
        // A wait for one folder may end while other files are still being written.
        idle_.notify_all();
        // A change that waited for this file may go now.
        if (!pending_.empty()) wake_.notify_all();
    }
}

} // namespace viewer
