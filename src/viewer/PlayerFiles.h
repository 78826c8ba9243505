#pragma once
// What the Flash player's URL scheme may serve: the player's own files and the downloaded movies,
// nothing else. A request path names a folder ("player" or "Game") and one file name inside it;
// anything that could leave those folders is refused.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace viewer {

// The scheme and host of the player's pages: brindle://app/player/..., brindle://app/Game/...
inline constexpr std::string_view kPlayerScheme = "brindle";
inline constexpr std::string_view kPlayerHost = "app";

struct PlayerFiles {
    std::filesystem::path playerFolder; // the application folder's player/
    std::filesystem::path gameFolder;   // the application folder's Game/

    // The file a decoded request path such as "/Game/a.swf" names, or nothing when the path is not
    // "/player/<name>" or "/Game/<name>" with a usable file name, when the file is missing or not a
    // regular file, or when it resolves (through links) outside its folder.
    std::optional<std::filesystem::path> resolve(std::string_view requestPath) const;
};

// A name that can be used as one file name inside a folder: not empty, not "." or "..", without
// "/", "\" or control characters. Store texts that fail it are never used as file names.
bool isPlainFileName(std::string_view name);

// The content type to reply with, chosen by the file's extension.
std::string contentTypeOf(const std::filesystem::path& file);

} // namespace viewer
