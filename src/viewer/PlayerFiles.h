#pragma once
// What the Flash player's URL scheme may serve: the player's own files, the downloaded movies and
// the folder of a local movie, nothing else. A request path names the player's folder and one file name
// inside it, or a file of the movie playing: below its site folder in Game (see MoviePlace), at any depth, or
// for a movie played from Game itself one file name there. Anything that could leave those folders is
// refused. A file a movie loads from its site folder that is not there yet may be fetched there
// from the store folder the movie came from.

#include "viewer/MoviePlace.h"

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

    // The path of a file below the site folder of place that a decoded request path
    // "/Game/<site>/<path>" names (relative to the site folder, as MoviePlace::diskPathOf gives
    // it); nothing for a path anywhere else.
    std::optional<std::string> siteRelative(const MoviePlace& place, std::string_view requestPath) const;
    // The file kept for a relative path of siteRelative when it is there: a regular file that
    // resolves (through links) inside the site folder (for a local movie, the folder it lies in).
    std::optional<std::filesystem::path> siteFile(const MoviePlace& place, std::string_view relative) const;
    // Where a file fetched for a relative path of siteRelative may be put: nothing of that name is
    // there yet (no file, folder or link), and its folders, made here, lie inside the site folder.
    // Nothing for a local movie: it loads only what its folder holds.
    std::optional<std::filesystem::path> siteFetchTarget(const MoviePlace& place,
                                                         std::string_view relative) const;
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

// A name that can be used as one file name inside a folder: not empty, not "." or "..", without
// "/", "\" or control characters. Store texts that fail it are never used as file names.
bool isPlainFileName(std::string_view name);

// The content type to reply with, chosen by the file's extension.
std::string contentTypeOf(const std::filesystem::path& file);

} // namespace viewer
