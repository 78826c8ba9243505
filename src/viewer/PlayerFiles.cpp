#include "viewer/PlayerFiles.h"

#include "base/Url.h"

#include <algorithm>
#include <cctype>
#include <system_error>
#include <utility>

namespace viewer {

namespace fs = std::filesystem;

bool isPlainFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        auto byte = static_cast<unsigned char>(c);
        return c == '/' || c == '\\' || byte < 0x20 || byte == 0x7f;
    });
}

// True when path, with every link followed, lies inside folder (also resolved).
static bool staysInside(const fs::path& path, const fs::path& folder) {
    std::error_code ec;
    fs::path real = fs::canonical(path, ec);
    if (ec) return false;
    fs::path root = fs::canonical(folder, ec);
    if (ec) return false;
    return real.parent_path() == root;
}

// The folder and plain file name that a request path "/<folder>/<name>" names.
static std::optional<std::pair<std::string_view, std::string_view>>
splitRequest(std::string_view requestPath) {
    if (requestPath.empty() || requestPath.front() != '/') return std::nullopt;
    requestPath.remove_prefix(1);
    auto slash = requestPath.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    std::string_view fileName = requestPath.substr(slash + 1);
    if (!isPlainFileName(fileName)) return std::nullopt;
    return std::pair{requestPath.substr(0, slash), fileName};
}

std::optional<fs::path> PlayerFiles::resolve(std::string_view requestPath) const {
    auto request = splitRequest(requestPath);
    if (!request) return std::nullopt;
    const fs::path* folder = request->first == "player" ? &playerFolder
                             : request->first == "Game" ? &gameFolder
                                                        : nullptr;
    if (!folder || folder->empty()) return std::nullopt;

    fs::path file = *folder / fs::path(std::string(request->second));
    std::error_code ec;
    if (!fs::is_regular_file(file, ec) || !staysInside(file, *folder)) return std::nullopt;
    return file;
}

std::optional<std::string> PlayerFiles::siteRelative(const MoviePlace& place,
                                                     std::string_view requestPath) const {
    const std::string prefix = "/Game/" + place.site() + "/";
    if (!requestPath.starts_with(prefix)) return std::nullopt;
    const auto relative = requestPath.substr(prefix.size());
    if (!MoviePlace::diskPathOf(relative)) return std::nullopt;
    return std::string(relative);
}

// True when path, with every link followed, lies below folder (also resolved).
static bool staysBelow(const fs::path& path, const fs::path& folder) {
    std::error_code ec;
    const fs::path real = fs::weakly_canonical(path, ec);
    if (ec) return false;
    const fs::path root = fs::canonical(folder, ec);
    if (ec) return false;
    const auto [end, inside] = std::mismatch(root.begin(), root.end(), real.begin(), real.end());
    return end == root.end() && inside != real.end();
}

std::optional<fs::path> PlayerFiles::siteFile(const MoviePlace& place, std::string_view relative) const {
    const auto path = place.filePathOf(relative);
    if (!path || (gameFolder.empty() && !place.isLocal())) return std::nullopt;
    const fs::path site = place.siteFolder(gameFolder);
    const fs::path file = site / *path;
    std::error_code ec;
    if (!fs::is_regular_file(file, ec) || !staysBelow(file, site)) return std::nullopt;
    return file;
}

std::optional<fs::path> PlayerFiles::siteFetchTarget(const MoviePlace& place,
                                                     std::string_view relative) const {
    const auto path = MoviePlace::diskPathOf(relative);
    if (!path || gameFolder.empty() || place.isLocal()) return std::nullopt;
    const fs::path site = gameFolder / place.site();
    const fs::path file = site / *path;
    std::error_code ec;
    if (fs::symlink_status(file, ec).type() != fs::file_type::not_found) return std::nullopt;
    fs::create_directories(file.parent_path(), ec);
    if (ec || !fs::is_directory(file.parent_path(), ec) || !staysBelow(file, site)) return std::nullopt;
    return file;
}

std::optional<MovieAddress> movieAddressOf(std::string_view fileName) {
    const auto end = fileName.find_first_of("?#");
    MovieAddress address{std::string(fileName.substr(0, end)), {}};
    if (!isPlainFileName(address.name)) return std::nullopt;
    if (end != std::string_view::npos && fileName[end] == '?') {
        const auto query = fileName.substr(end + 1);
        address.query = std::string(query.substr(0, query.find('#')));
    }
    return address;
}

std::string contentTypeOf(const fs::path& file) {
    std::string ext = file.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (ext == ".html") return "text/html;charset=utf-8";
    if (ext == ".js") return "text/javascript";
    if (ext == ".wasm") return "application/wasm";
    if (ext == ".swf") return "application/x-shockwave-flash";
    if (ext == ".css") return "text/css";
    return "application/octet-stream";
}

} // namespace viewer
