#include "library/GameFiles.h"

#include "base/AtomicFile.h"
#include "viewer/MoviePlace.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace fs = std::filesystem;

namespace library {

GameFiles::GameFiles(fs::path appFolder) : appFolder_(std::move(appFolder)) {}

std::optional<std::string> GameFiles::savesNameOf(std::string_view movieFile) {
    return viewer::MoviePlace::savesNameOf(movieFile);
}

namespace {

// Calls entered(name, status) for each entry of the folder open as folderFd (not followed when a
// link), and closes it.
template <class Entered> void eachEntry(int folderFd, const Entered& entered) {
    DIR* folder = ::fdopendir(folderFd);
    if (!folder) {
        ::close(folderFd);
        return;
    }
    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view name = entry->d_name;
        struct stat status {};
        if (name != "." && name != ".." &&
            ::fstatat(::dirfd(folder), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0)
            entered(entry->d_name, status);
    }
    ::closedir(folder);
}

int openFolder(int parentFd, const char* name) {
    return ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// The sizes of the regular files below the folder open as folderFd, which it closes.
std::uintmax_t bytesBelow(int folderFd) {
    std::uintmax_t total = 0;
    eachEntry(folderFd, [&](const char* name, const struct stat& status) {
        if (S_ISREG(status.st_mode))
            total += static_cast<std::uintmax_t>(status.st_size);
        else if (S_ISDIR(status.st_mode))
            if (const int sub = openFolder(folderFd, name); sub >= 0) total += bytesBelow(sub);
    });
    return total;
}

} // namespace

std::uintmax_t GameFiles::movieBytes(std::string_view movieFile) const {
    struct stat status {};
    if (!savesNameOf(movieFile) ||
        ::lstat((gameFolder() / fs::path(std::string(movieFile))).c_str(), &status) != 0 ||
        !S_ISREG(status.st_mode))
        return 0;
    return static_cast<std::uintmax_t>(status.st_size);
}

std::uintmax_t GameFiles::savesBytes(std::string_view movieFile) const {
    const auto name = savesNameOf(movieFile);
    return name ? folderBytes(savesFolder() / *name) : 0;
}

std::uintmax_t GameFiles::folderBytes(const fs::path& folder) {
    const int fd = openFolder(AT_FDCWD, folder.c_str());
    return fd < 0 ? 0 : bytesBelow(fd);
}

GameFiles::Usage GameFiles::usage() const {
    Usage usage;
    if (const int game = openFolder(AT_FDCWD, gameFolder().c_str()); game >= 0)
        eachEntry(game, [&](const char* name, const struct stat& status) {
            if (S_ISREG(status.st_mode)) {
                usage.movies[name] = static_cast<std::uintmax_t>(status.st_size);
                usage.game += static_cast<std::uintmax_t>(status.st_size);
            } else if (S_ISDIR(status.st_mode)) {
                // A site folder: its movies, and every file they loaded below it.
                if (const int site = openFolder(game, name); site >= 0)
                    eachEntry(site, [&](const char* file, const struct stat& inside) {
                        if (S_ISREG(inside.st_mode))
                            usage.movies[std::string(name) + "/" + file] =
                                static_cast<std::uintmax_t>(inside.st_size);
                    });
                usage.game += bytesBelow(openFolder(game, name));
            }
        });
    if (const int saves = openFolder(AT_FDCWD, savesFolder().c_str()); saves >= 0)
        eachEntry(saves, [&](const char* name, const struct stat& status) {
            if (S_ISREG(status.st_mode)) usage.allSaves += static_cast<std::uintmax_t>(status.st_size);
            if (!S_ISDIR(status.st_mode)) return;
            const int movie = openFolder(saves, name);
            const std::uintmax_t bytes = movie < 0 ? 0 : bytesBelow(movie);
            usage.saves[name] = bytes;
            usage.allSaves += bytes;
        });
    return usage;
}

std::uintmax_t GameFiles::Usage::movieBytes(std::string_view movieFile) const {
    const auto found = movies.find(movieFile);
    return found == movies.end() ? 0 : found->second;
}

std::uintmax_t GameFiles::Usage::savesBytes(std::string_view movieFile) const {
    const auto name = savesNameOf(movieFile);
    const auto found = name ? saves.find(*name) : saves.end();
    return found == saves.end() ? 0 : found->second;
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
    if (!savesNameOf(movieFile)) return false;
    std::error_code ec;
    fs::remove(gameFolder() / fs::path(std::string(movieFile)), ec);
    return !ec;
}

} // namespace library
