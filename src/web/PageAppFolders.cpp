#include "web/PageAppFolders.h"

#include "base/AtomicFile.h"
#include "base/StableName.h"

#include <array>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace web {

namespace {

// What pages themselves store, in the engine's names; the rest of a profile's folder is cache and
// housekeeping the engine makes again.
constexpr std::array<std::string_view, 6> StoredByPages{"Local Storage", "IndexedDB",      "databases",
                                                        "File System",   "Service Worker", "Cookies.txt"};

// What the engine kept for itself in the shared store: caches and housekeeping it makes again.
constexpr std::array<std::string_view, 14> EngineHousekeeping{"Cache",
                                                              "Code Cache",
                                                              "GPUCache",
                                                              "Network Persistent State",
                                                              "Session Storage",
                                                              "Visited Links",
                                                              "TransportSecurity",
                                                              "Trust Tokens",
                                                              "QuotaManager",
                                                              "QuotaManager-journal",
                                                              "blob_storage",
                                                              "shared_proto_db",
                                                              "Network Action Predictor",
                                                              "Network Action Predictor-journal"};

template <std::size_t N> bool oneOf(const std::array<std::string_view, N>& names, const std::string& name) {
    for (const std::string_view known : names)
        if (name == known) return true;
    return false;
}

// Marks the one move of the shared store done.
constexpr std::string_view SplitDone = ".shared-split-done";

constexpr std::string_view Staging = ".tmp";

} // namespace

PageAppFolders::PageAppFolders(fs::path root) : root_(std::move(root)) {}

void PageAppFolders::splitShared() const {
    const fs::path done = root_ / SplitDone;
    std::error_code ec;
    if (fs::exists(done, ec) || ec) return;
    // A Shared/ without the mark was made by an earlier version, which moved the store already.
    if (!fs::exists(shared(), ec) && !ec && !moveStore()) return;
    fs::create_directories(root_, ec);
    base::writeFileAtomic(done, "");
}

bool PageAppFolders::moveStore() const {
    const fs::path staging = shared().string() + std::string(Staging);
    std::error_code ec;
    bool found = fs::exists(staging, ec);
    std::vector<fs::path> stored, housekeeping;
    fs::directory_iterator entries(root_, ec), end;
    for (; !ec && entries != end; entries.increment(ec)) {
        const std::string name = entries->path().filename().string();
        if (oneOf(StoredByPages, name)) stored.push_back(entries->path());
        if (oneOf(EngineHousekeeping, name)) housekeeping.push_back(entries->path());
    }
    if (ec && ec != std::errc::no_such_file_or_directory) return false;
    if (found || !stored.empty()) {
        fs::create_directories(staging, ec);
        for (const fs::path& entry : stored) {
            fs::remove_all(staging / entry.filename(), ec);
            fs::rename(entry, staging / entry.filename(), ec);
            if (ec) return false;
        }
        fs::rename(staging, shared(), ec);
        if (ec) return false;
    }
    for (const fs::path& entry : housekeeping)
        fs::remove_all(entry, ec);
    return true;
}

fs::path PageAppFolders::folderFor(std::string_view link) const {
    const std::string name = base::stableName(link);
    const fs::path folder = root_ / name;
    std::error_code ec;
    if (fs::exists(folder, ec) || !fs::exists(shared(), ec)) return folder;
    const fs::path staging = root_ / (name + std::string(Staging));
    fs::remove_all(staging, ec);
    fs::copy(shared(), staging, fs::copy_options::recursive, ec);
    if (!ec) fs::rename(staging, folder, ec);
    if (ec) fs::remove_all(staging, ec);
    return folder;
}

} // namespace web
