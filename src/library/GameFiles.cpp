#include "library/GameFiles.h"

#include "base/AtomicFile.h"
#include "viewer/PlayerFiles.h"

#include <utility>

namespace fs = std::filesystem;

namespace library {

GameFiles::GameFiles(fs::path appFolder) : appFolder_(std::move(appFolder)) {}

std::optional<std::string> GameFiles::savesNameOf(std::string_view movieFile) {
    if (!viewer::isPlainFileName(movieFile)) return std::nullopt;
    auto address = viewer::movieAddressOf(movieFile);
    if (!address) return std::nullopt;
    return std::move(address->name);
}

std::uintmax_t GameFiles::movieBytes(std::string_view movieFile) const {
    if (!viewer::isPlainFileName(movieFile)) return 0;
    std::error_code ec;
    const fs::path file = gameFolder() / fs::path(std::string(movieFile));
    if (!fs::is_regular_file(fs::symlink_status(file, ec))) return 0;
    const auto size = fs::file_size(file, ec);
    return ec ? 0 : size;
}

std::uintmax_t GameFiles::savesBytes(std::string_view movieFile) const {
    const auto name = savesNameOf(movieFile);
    return name ? folderBytes(savesFolder() / *name) : 0;
}

std::uintmax_t GameFiles::folderBytes(const fs::path& folder) {
    std::uintmax_t total = 0;
    std::error_code ec;
    if (!fs::is_directory(fs::symlink_status(folder, ec))) return 0;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code sizeError;
        if (it->is_regular_file(sizeError) && !it->is_symlink(sizeError)) {
            const auto size = it->file_size(sizeError);
            if (!sizeError) total += size;
        }
    }
    return total;
}

bool GameFiles::deleteSaves(std::string_view movieFile) const {
    const auto name = savesNameOf(movieFile);
    if (!name) return true;
    const fs::path folder = savesFolder() / *name;
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(folder, ec))) return true;
    // Renamed aside first: the movie then finds all its saves or none, never some of them.
    const fs::path aside = base::temporarySibling(folder);
    fs::rename(folder, aside, ec);
    if (ec) return false;
    fs::remove_all(aside, ec);
    return true;
}

bool GameFiles::deleteMovie(std::string_view movieFile) const {
    if (!viewer::isPlainFileName(movieFile)) return false;
    std::error_code ec;
    fs::remove(gameFolder() / fs::path(std::string(movieFile)), ec);
    return !ec;
}

} // namespace library
