#include "viewer/SaveWriter.h"

#include "base/AtomicFile.h"

#include <system_error>

namespace viewer {

namespace fs = std::filesystem;

SaveWriter::SaveWriter() : thread_([this] { run(); }) {}

SaveWriter::~SaveWriter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
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
    idle_.wait(lock, [this] { return pending_.empty() && !busy_; });
}

int SaveWriter::failures() const {
    std::lock_guard lock(mutex_);
    return failures_;
}

void SaveWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
        if (pending_.empty()) return; // stopping, with nothing left to write
        auto change = pending_.extract(pending_.begin());
        busy_ = true;
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
        busy_ = false;
        if (!ok) ++failures_;
        if (pending_.empty()) idle_.notify_all();
    }
}

} // namespace viewer
