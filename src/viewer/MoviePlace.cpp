#include "viewer/MoviePlace.h"

#include "base/StableName.h"
#include "base/Text.h"
#include "base/Url.h"
#include "viewer/PlayerFiles.h"

#include <algorithm>
#include <cctype>
#include <system_error>
#include <vector>

namespace viewer {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kKeptNameBytes = 150;
constexpr std::size_t kCutNameBytes = 100;
constexpr std::size_t kHostBytes = 64;
constexpr std::size_t kMaxDepth = 32;

std::string lowerCase(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

// The host and port of an authority ("user@host:port") as a folder name: letters, digits, "."
// and "-" kept, anything else "_", at most 64 bytes.
std::string hostFolder(std::string_view authority) {
    if (const auto at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
    std::string out;
    for (const char c : lowerCase(authority.substr(0, kHostBytes))) {
        const bool kept = std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-';
        out += kept ? c : '_';
    }
    return out;
}

// The extension of name kept on a shortened name: "." and 1 to 8 ASCII letters or digits.
std::string_view shortExtension(std::string_view name) {
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || name.size() - dot > 9 || name.size() - dot < 2)
        return {};
    const auto ext = name.substr(dot);
    const bool plain = std::all_of(ext.begin() + 1, ext.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x80 && std::isalnum(static_cast<unsigned char>(c));
    });
    return plain ? ext : std::string_view();
}

// The names of a path "a/b/c", empty ones included.
std::vector<std::string> namesOf(std::string_view path) {
    std::vector<std::string> names;
    for (std::size_t start = 0;;) {
        const auto slash = path.find('/', start);
        names.emplace_back(path.substr(start, slash - start));
        if (slash == std::string_view::npos) return names;
        start = slash + 1;
    }
}

} // namespace

// The place of a local movie at a file:// address: its path decoded, absolute and plain.
std::optional<MoviePlace> MoviePlace::ofFileAddress(std::string_view fileUrl) {
    std::string_view path = fileUrl.substr(std::string_view("file://").size());
    if (path.starts_with("localhost/")) path.remove_prefix(std::string_view("localhost").size());
    if (!path.starts_with('/') || path.find_first_of("?#") != std::string_view::npos) return std::nullopt;
    const std::string decoded = base::decodePercent(path);
    const auto names = namesOf(std::string_view(decoded).substr(1));
    if (!std::all_of(names.begin(), names.end(),
                     [](const std::string& name) { return isPlainFileName(name); }))
        return std::nullopt;
    std::string folderAddress = "file://";
    for (std::size_t i = 0; i + 1 < names.size(); ++i)
        folderAddress += "/" + base::encodePathSegment(names[i]);
    MoviePlace place;
    place.localFolder_ = fs::path(decoded).parent_path();
    place.site_ = "local~" + base::stableName(place.localFolder_.string());
    place.siteAddress_ = folderAddress + "/";
    place.movieName_ = names.back();
    return place;
}

std::optional<MoviePlace> MoviePlace::of(std::string_view movieUrl) {
    if (lowerCase(movieUrl.substr(0, 7)) == "file://") return ofFileAddress(movieUrl);
    if (!base::isWebAddress(movieUrl)) return std::nullopt;
    const auto schemeEnd = movieUrl.find("://") + 3;
    const auto addressEnd = movieUrl.find('#');
    const std::string_view address = movieUrl.substr(0, addressEnd);
    const auto queryStart = address.find('?');
    const std::string_view beforeQuery = address.substr(0, queryStart);
    const auto pathStart = std::min(beforeQuery.find('/', schemeEnd), beforeQuery.size());
    const std::string_view authority = beforeQuery.substr(schemeEnd, pathStart - schemeEnd);
    const std::string_view path = beforeQuery.substr(pathStart);
    const auto lastSlash = path.rfind('/');
    if (authority.empty() || lastSlash == std::string_view::npos) return std::nullopt;

    MoviePlace place;
    place.movieName_ = base::decodePercent(path.substr(lastSlash + 1));
    if (!isPlainFileName(place.movieName_)) return std::nullopt;
    if (queryStart != std::string_view::npos) place.query_ = std::string(address.substr(queryStart + 1));
    const std::string origin = lowerCase(beforeQuery.substr(0, pathStart));
    place.siteAddress_ = origin + std::string(path.substr(0, lastSlash + 1));
    place.site_ = hostFolder(authority) + "~" + base::stableName(place.siteAddress_);
    return place;
}

fs::path MoviePlace::movieFile() const {
    return fs::path(site_) / safeName(movieName_);
}

std::string MoviePlace::savesName() const {
    return site_ + "~" + safeName(movieName_);
}

fs::path MoviePlace::siteFolder(const fs::path& gameFolder) const {
    return isLocal() ? localFolder_ : gameFolder / site_;
}

fs::path MoviePlace::movieOnDisk(const fs::path& gameFolder) const {
    return isLocal() ? localFolder_ / movieName_ : gameFolder / movieFile();
}

std::optional<fs::path> MoviePlace::filePathOf(std::string_view relative) const {
    if (!isLocal()) return diskPathOf(relative);
    if (!diskPathOf(relative)) return std::nullopt;
    fs::path path;
    for (const auto& name : namesOf(relative))
        path /= name;
    return path;
}

std::optional<std::string> MoviePlace::addressOf(std::string_view relative) const {
    if (!diskPathOf(relative)) return std::nullopt;
    std::string address = siteAddress_;
    for (const auto& name : namesOf(relative))
        address += base::encodePathSegment(name) + '/';
    address.pop_back();
    return address;
}

std::optional<std::string> MoviePlace::linkAddressOf(std::string_view playerPath) const {
    if (isLocal() || !playerPath.starts_with('/')) return std::nullopt;
    const std::string_view path = playerPath.substr(0, playerPath.find_first_of("?#"));
    const std::string game = "/Game/";
    const std::string siteFolder = game + site_ + "/";
    if (path.starts_with(siteFolder)) return siteAddress_ + std::string(playerPath.substr(siteFolder.size()));
    const std::string_view store(siteAddress_);
    const auto rootEnd = store.find('/', store.find("://") + 3);
    if (!path.starts_with(game)) return std::string(store.substr(0, rootEnd)) + std::string(playerPath);
    // The store folder's parent: its address without its last name, the root for a folder at the root.
    const auto parentEnd = std::max(store.rfind('/', store.size() - 2), rootEnd);
    return std::string(store.substr(0, parentEnd + 1)) + std::string(playerPath.substr(game.size()));
}

std::optional<fs::path> MoviePlace::diskPathOf(std::string_view relative) {
    const auto names = namesOf(relative);
    if (names.empty() || names.size() > kMaxDepth) return std::nullopt;
    fs::path path;
    for (const auto& name : names) {
        if (!isPlainFileName(name)) return std::nullopt;
        path /= safeName(name);
    }
    return path;
}

std::string MoviePlace::safeName(std::string_view plainName) {
    if (plainName.size() <= kKeptNameBytes && plainName.find('~') == std::string_view::npos &&
        !plainName.starts_with('.'))
        return std::string(plainName);
    const std::string_view ext = shortExtension(plainName);
    std::string cut = base::leftChars(plainName.substr(0, plainName.size() - ext.size()), kCutNameBytes);
    // leftChars counts characters; cut back to whole characters within the byte budget.
    while (cut.size() > kCutNameBytes)
        cut = base::withoutLastChar(cut);
    std::replace(cut.begin(), cut.end(), '~', '_');
    if (cut.starts_with('.')) cut[0] = '_';
    return cut + "~" + base::stableName(plainName) + std::string(ext);
}

std::optional<std::string> MoviePlace::savesNameOf(std::string_view movieFile) {
    const auto slash = movieFile.find('/');
    if (slash == std::string_view::npos) {
        const auto address = movieAddressOf(movieFile);
        return address ? std::optional(address->name) : std::nullopt;
    }
    const auto site = movieFile.substr(0, slash);
    const auto name = movieFile.substr(slash + 1);
    if (!isPlainFileName(site) || !isPlainFileName(name)) return std::nullopt;
    return std::string(site) + "~" + std::string(name);
}

MoviePlace::EarlierFiles MoviePlace::earlierFiles(const fs::path& gameFolder, const fs::path& savesFolder,
                                                  std::string_view legacyFile) const {
    const auto legacy = movieAddressOf(legacyFile);
    if (!legacy || !isPlainFileName(legacyFile)) return {};
    std::error_code ec;
    const auto type = [&](const fs::path& path) { return fs::symlink_status(path, ec).type(); };
    return {type(gameFolder / std::string(legacyFile)) == fs::file_type::regular &&
                type(gameFolder / movieFile()) == fs::file_type::not_found,
            type(savesFolder / legacy->name) == fs::file_type::directory &&
                type(savesFolder / savesName()) == fs::file_type::not_found};
}

void MoviePlace::adoptEarlierFiles(const fs::path& gameFolder, const fs::path& savesFolder,
                                   std::string_view legacyFile,
                                   const std::function<bool()>& savesAreItsAlone) const {
    const EarlierFiles earlier = earlierFiles(gameFolder, savesFolder, legacyFile);
    std::error_code ec;
    if (earlier.movie) {
        const fs::path oldMovie = gameFolder / std::string(legacyFile);
        const fs::path movie = gameFolder / movieFile();
        fs::create_directories(movie.parent_path(), ec);
        fs::create_hard_link(oldMovie, movie, ec);
        if (ec) fs::copy_file(oldMovie, movie, ec);
    }
    if (earlier.saves && savesAreItsAlone())
        fs::rename(savesFolder / movieAddressOf(legacyFile)->name, savesFolder / savesName(), ec);
}

} // namespace viewer
