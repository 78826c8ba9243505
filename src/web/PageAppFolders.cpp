#include "web/PageAppFolders.h"

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

bool storedByPages(const std::string& name) {
    for (const std::string_view kind : StoredByPages)
        if (name == kind) return true;
    return false;
}

constexpr std::string_view Staging = ".tmp";

// An app's folder or one being filled for it.
bool appFolderName(const std::string& name) {
    const std::string_view app =
        name.ends_with(Staging) ? std::string_view(name).substr(0, name.size() - Staging.size()) : name;
    return base::isStableName(app);
}

} // namespace

PageAppFolders::PageAppFolders(fs::path root) : root_(std::move(root)) {}

void PageAppFolders::splitShared() const {
    const fs::path staging = shared().string() + std::string(Staging);
    std::error_code ec;
    bool found = fs::exists(staging, ec);
    fs::directory_iterator entries(root_, ec), end;
    std::vector<fs::directory_entry> old;
    for (; !ec && entries != end; entries.increment(ec)) {
        const std::string name = entries->path().filename().string();
        if (appFolderName(name) || entries->path() == shared() || entries->path() == staging) continue;
        old.push_back(*entries);
        found = true;
    }
    if (!found) return;
    fs::create_directories(staging, ec);
    for (const fs::directory_entry& entry : old) {
        const std::string name = entry.path().filename().string();
        if (storedByPages(name)) {
            fs::remove_all(staging / name, ec);
            fs::rename(entry.path(), staging / name, ec);
        } else {
            fs::remove_all(entry.path(), ec);
        }
    }
    fs::remove_all(shared(), ec);
    fs::rename(staging, shared(), ec);
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
