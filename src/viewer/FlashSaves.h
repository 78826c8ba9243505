#pragma once
// The Flash saves (shared objects) of one movie: the folder Saves/<movie name>/ of the application
// folder, one .sol file per shared object, and how the keys under which Ruffle keeps them in the
// player page's storage map to those files.
//
// Ruffle keys a shared object "<host>/<path>/<name>": the host and path of the movie's address
// (the path without its leading "/"), or a shorter path the movie asked for (its localPath: a
// folder of its address, where "/" gives an empty path), then the object's name, prefixed with "#"
// when it holds a "/". Every path maps to the movie's own folder, so a save is the movie's alone
// whichever path it asked for, and no key reaches another movie's saves or leaves the folder.
// The file is named after the object: "<name>.sol", with "%", "/", "\", control characters and a
// leading "." written as %XX, so any name gives one plain file name and the file name gives the
// name back.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace viewer {

class FlashSaves {
  public:
    // The saves of the movie at host and moviePath of its address (as the player writes it:
    // percent-encoded, without the leading "/", e.g. "app" and "Game/a.swf"), kept in
    // savesRoot/movieName. A movie name that is no plain file name keeps nothing.
    FlashSaves(const std::filesystem::path& savesRoot, std::string_view movieName, std::string host,
               std::string moviePath);

    bool usable() const { return !folder_.empty(); }
    const std::filesystem::path& folder() const { return folder_; }

    // The file that keeps the object of a storage key, or nothing when the key is none of this
    // movie's paths or its name makes no file name.
    std::optional<std::filesystem::path> fileOf(std::string_view key) const;
    // The storage keys under which the movie may ask for the object kept in the file named
    // fileName (one per path of the movie); none when that is no save's file name.
    std::vector<std::string> keysOf(std::string_view fileName) const;
    // One save on disk: the bytes of its file, and the keys the movie may ask for it under.
    struct Save {
        std::vector<std::string> keys;
        std::string bytes;
    };
    // The saves on disk, each file once; unreadable files are left out. Each
    // file is read whole with SolFile first: one that it refuses (a damaged or hostile save, which
    // could stall the player) is moved aside to the folder's rejected/ with the reason in the log,
    // so the movie starts without it. The saves handed over stay within what a movie may keep
    // (SaveQuota), the newest first; older ones beyond that stay on disk, unread.
    std::vector<Save> load() const;

    // "<name>.sol" with the escapes above, or nothing for an empty name or one whose file name
    // would be longer than a file system takes (255 bytes).
    static std::optional<std::string> fileNameOf(std::string_view name);
    // The object's name in a file name made by fileNameOf, or nothing for any other file name.
    static std::optional<std::string> nameOf(std::string_view fileName);

  private:
    // The bytes of a save that SolFile reads; nothing for an unreadable file, and also the reason
    // for a refused one.
    static std::optional<std::string> readSave(const std::filesystem::path& file, std::string& reason);
    // Moves a refused save into rejected/ beside it, under a name no earlier rejected file has;
    // the new path, or nothing when it could not be moved.
    static std::optional<std::filesystem::path> moveAside(const std::filesystem::path& file);
    // The paths a key may carry: "", each folder of the movie's path, the path itself.
    std::vector<std::string> paths() const;

    std::filesystem::path folder_;
    std::string host_;
    std::string moviePath_;
};

} // namespace viewer
