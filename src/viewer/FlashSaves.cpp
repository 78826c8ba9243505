#include "viewer/FlashSaves.h"

#include "viewer/PlayerFiles.h"
#include "viewer/SaveQuota.h"
#include "viewer/SolFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace viewer {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kExtension = ".sol";
constexpr std::size_t kMaxFileName = 255;
// A save larger than this is not handed to a movie: Flash asked the user beyond 100 KB.
constexpr std::size_t kMaxSaveBytes = 16 * 1024 * 1024;
constexpr std::string_view kRejectedFolder = "rejected";
// Rejected copies of one save kept side by side; beyond that a refused file stays where it is.
constexpr int kMaxRejected = 1000;

bool escaped(unsigned char c, bool first) {
    return c == '%' || c == '/' || c == '\\' || c < 0x20 || c == 0x7f || (first && c == '.');
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

FlashSaves::FlashSaves(const fs::path& savesRoot, std::string_view movieName, std::string host,
                       std::string moviePath)
    : host_(std::move(host)), moviePath_(std::move(moviePath)) {
    if (!savesRoot.empty() && isPlainFileName(movieName) && !host_.empty() && !moviePath_.empty() &&
        moviePath_.front() != '/')
        folder_ = savesRoot / fs::path(std::string(movieName));
}

std::vector<std::string> FlashSaves::paths() const {
    std::vector<std::string> paths{moviePath_};
    for (auto slash = moviePath_.rfind('/'); slash != std::string::npos && slash > 0;
         slash = moviePath_.rfind('/', slash - 1))
        paths.push_back(moviePath_.substr(0, slash));
    paths.emplace_back();
    return paths; // longest first: the movie's own path is the usual one
}

std::optional<fs::path> FlashSaves::fileOf(std::string_view key) const {
    if (!usable() || !key.starts_with(host_ + "/")) return std::nullopt;
    key.remove_prefix(host_.size() + 1);
    for (const std::string& path : paths()) {
        const std::string prefix = path + "/";
        if (!key.starts_with(prefix)) continue;
        std::string_view name = key.substr(prefix.size());
        // Ruffle marks exactly the names that hold a "/" with "#".
        const bool marked = name.starts_with('#');
        if (marked) name.remove_prefix(1);
        if (marked != (name.find('/') != std::string_view::npos)) continue;
        if (auto file = fileNameOf(name)) return folder_ / *file;
    }
    return std::nullopt;
}

std::vector<std::string> FlashSaves::keysOf(std::string_view fileName) const {
    std::vector<std::string> keys;
    auto name = nameOf(fileName);
    if (!usable() || !name) return keys;
    const std::string marked = (name->find('/') != std::string::npos ? "#" : "") + *name;
    for (const std::string& path : paths())
        keys.push_back(host_ + "/" + path + "/" + marked);
    return keys;
}

std::vector<FlashSaves::Save> FlashSaves::load() const {
    std::vector<Save> saves;
    std::error_code ec;
    if (!usable() || !fs::is_directory(folder_, ec)) return saves;
    struct Found {
        fs::path file;
        std::vector<std::string> keys;
        fs::file_time_type written;
    };
    std::vector<Found> found;
    for (const auto& entry : fs::directory_iterator(folder_, ec)) {
        auto keys = keysOf(entry.path().filename().string());
        if (keys.empty() || !entry.is_regular_file(ec)) continue;
        found.push_back({entry.path(), std::move(keys), entry.last_write_time(ec)});
    }
    // The newest first: when the folder holds more than a movie may keep, its latest saves count.
    std::sort(found.begin(), found.end(),
              [](const Found& a, const Found& b) { return a.written > b.written; });
    SaveQuota quota;
    std::vector<std::pair<fs::path, std::string>> refused;
    const auto overLimit = [](const fs::path& file) {
        std::fprintf(stderr, "Brindle: the save %s was not handed to the movie (over what a movie keeps)\n",
                     file.c_str());
    };
    for (const Found& save : found) {
        // Checked before the file is read, unless it is too large to be a save at all.
        const auto size = fs::file_size(save.file, ec);
        if (!ec && size <= kMaxSaveBytes && !quota.admit(save.file, size)) {
            overLimit(save.file);
            continue;
        }
        std::string reason;
        const auto bytes = readSave(save.file, reason);
        if (!bytes) {
            quota.remove(save.file);
            if (!reason.empty()) refused.emplace_back(save.file, reason);
            continue;
        }
        if (!quota.admit(save.file, bytes->size())) {
            quota.remove(save.file);
            overLimit(save.file);
            continue;
        }
        saves.push_back({save.keys, *bytes});
    }
    // Moved once the folder has been read, as entries renamed while it is read may be missed.
    for (const auto& [file, reason] : refused) {
        const auto moved = moveAside(file);
        const std::string outcome = moved ? "moved to " + moved->string() : "it could not be moved";
        std::fprintf(stderr, "Brindle: the save %s was not handed to the movie (%s); %s\n", file.c_str(),
                     reason.c_str(), outcome.c_str());
    }
    return saves;
}

std::optional<std::string> FlashSaves::readSave(const fs::path& file, std::string& reason) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    // Read up to one byte past the limit, so that a file growing meanwhile is caught too.
    std::string bytes;
    char chunk[64 * 1024];
    while (bytes.size() <= kMaxSaveBytes && in.read(chunk, sizeof chunk).gcount() > 0)
        bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    if (in.bad()) return std::nullopt;
    if (bytes.size() > kMaxSaveBytes) {
        reason = "larger than " + std::to_string(kMaxSaveBytes >> 20) + " MB";
        return std::nullopt;
    }
    if (!SolFile::check(bytes, &reason)) return std::nullopt;
    return bytes;
}

std::optional<fs::path> FlashSaves::moveAside(const fs::path& file) {
    const fs::path folder = file.parent_path() / kRejectedFolder;
    std::error_code ec;
    fs::create_directory(folder, ec);
    const std::string name = file.filename().string();
    const std::string stem = name.substr(0, name.size() - kExtension.size());
    for (int n = 1; n <= kMaxRejected; ++n) {
        const fs::path target =
            folder / (n == 1 ? name : stem + "-" + std::to_string(n) + std::string(kExtension));
        // Never over an earlier rejected file: that one may be the save someone wants back.
        if (::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
            return target;
        if (errno == EEXIST) continue;
        // A file system without RENAME_NOREPLACE: a new link fails on an existing name too.
        if (errno != EINVAL || ::link(file.c_str(), target.c_str()) != 0) {
            if (errno == EEXIST) continue;
            return std::nullopt;
        }
        ::unlink(file.c_str());
        return target;
    }
    return std::nullopt;
}

std::optional<std::string> FlashSaves::fileNameOf(std::string_view name) {
    if (name.empty()) return std::nullopt;
    std::string file;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (escaped(c, i == 0)) {
            static const char hex[] = "0123456789ABCDEF";
            file += '%';
            file += hex[c >> 4];
            file += hex[c & 15];
        } else {
            file += static_cast<char>(c);
        }
    }
    file += kExtension;
    if (file.size() > kMaxFileName) return std::nullopt;
    return file;
}

std::optional<std::string> FlashSaves::nameOf(std::string_view fileName) {
    if (!fileName.ends_with(kExtension)) return std::nullopt;
    const std::string_view stem = fileName.substr(0, fileName.size() - kExtension.size());
    std::string name;
    for (std::size_t i = 0; i < stem.size(); ++i) {
        if (stem[i] != '%') {
            name += stem[i];
            continue;
        }
        if (i + 2 >= stem.size()) return std::nullopt;
        const int high = hexDigit(stem[i + 1]), low = hexDigit(stem[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        name += static_cast<char>(high << 4 | low);
        i += 2;
    }
    // Only the one spelling that fileNameOf gives counts, so each object has a single file.
    if (fileNameOf(name) != std::string(fileName)) return std::nullopt;
    return name;
}

} // namespace viewer
