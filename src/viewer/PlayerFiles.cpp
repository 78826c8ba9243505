#include "viewer/PlayerFiles.h"

#include <algorithm>
#include <system_error>

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

std::optional<fs::path> PlayerFiles::resolve(std::string_view requestPath) const {
    if (requestPath.empty() || requestPath.front() != '/') return std::nullopt;
    requestPath.remove_prefix(1);
    auto slash = requestPath.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    std::string_view folderName = requestPath.substr(0, slash);
    std::string_view fileName = requestPath.substr(slash + 1);
    const fs::path* folder = folderName == "player" ? &playerFolder
                             : folderName == "Game" ? &gameFolder
                                                    : nullptr;
    if (!folder || folder->empty() || !isPlainFileName(fileName)) return std::nullopt;

    fs::path file = *folder / fs::path(std::string(fileName));
    std::error_code ec;
    if (!fs::is_regular_file(file, ec) || !staysInside(file, *folder)) return std::nullopt;
    return file;
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
