#pragma once
// What the Flash player's URL scheme may serve: the player's own files and the downloaded movies,
// nothing else. A request path names a folder ("player" or "Game") and one file name inside it;
// anything that could leave those folders is refused. A file a movie loads beside itself that is
// not in Game yet may be fetched there from the store folder the movie came from.

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
    std::filesystem::path savesFolder;  // the application folder's Saves/; empty: saves are not kept

    // The file a decoded request path such as "/Game/a.swf" names, or nothing when the path is not
    // "/player/<name>" or "/Game/<name>" with a usable file name, when the file is missing or not a
    // regular file, or when it resolves (through links) outside its folder.
    std::optional<std::filesystem::path> resolve(std::string_view requestPath) const;
    // The file in Game that a decoded request path "/Game/<name>" names when nothing of that name
    // is there yet: where a file fetched for it may be put. Nothing for any other path, a name
    // that is no plain file name, or a name already taken (by a file, a folder or a link).
    std::optional<std::filesystem::path> fetchTarget(std::string_view requestPath) const;
};

// A movie's name and query in its address, taken from its file name in Game, which may carry the
// query of the store's address as the download saved it ("a.swf?level=2"): the name is the text
// before the first "?" or "#", the query the text between "?" and "#". Nothing when the name part
// is no plain file name (empty, "." or "..").
struct MovieAddress {
    std::string name;
    std::string query;
};
std::optional<MovieAddress> movieAddressOf(std::string_view fileName);

// The store address of fileName beside the movie at movieUrl: movieUrl up to the last "/" before
// its query, then fileName percent-encoded. Nothing when movieUrl is no web address or fileName no
// plain file name.
std::optional<std::string> siblingAddress(std::string_view movieUrl, std::string_view fileName);

// A name that can be used as one file name inside a folder: not empty, not "." or "..", without
// "/", "\" or control characters. Store texts that fail it are never used as file names.
bool isPlainFileName(std::string_view name);

// The content type to reply with, chosen by the file's extension.
std::string contentTypeOf(const std::filesystem::path& file);

} // namespace viewer
