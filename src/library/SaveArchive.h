#pragma once
// Flash saves carried in a zip file: entries "<movie>/<name>.sol", the layout of Saves/, so a
// backup may also be unpacked into Saves/ by hand.
//
// A restore takes nothing it has not checked: every entry must be a save file of a movie folder
// with the names Saves/ uses (FlashSaves' file names, a plain movie folder name), a regular file
// (no link, no device), within the sizes below by its declared and by its actual unpacked size,
// and readable by the .sol reader. One entry that fails, or a save of another movie when one
// movie is restored, refuses the whole zip and nothing changes. Accepted saves are written into a
// staging folder under Saves/ and synced; then each movie's folder is exchanged with its staged
// one in a single rename (renameat2 RENAME_EXCHANGE), so a movie's folder is always whole, either
// as before or as in the zip, and a failure on the way exchanges the earlier ones back; should that
// fail too, the failure says which games' saves may be partly changed and where their old saves
// are kept (a folder no later restore clears away). A movie's saves become exactly those in the
// zip: saves it has now but the zip has not are dropped with the old folder, except its rejected/
// folder (saves set aside as unreadable), which is carried over. Movies absent from the zip keep
// their saves.
//
// Entry names are UTF-8, or GBK (GB 18030) when they are not valid UTF-8, as zip tools of Chinese
// systems write them without marking their encoding.
//
// Messages are for the player (Chinese).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace library {

class SaveArchive {
  public:
    // Limits of a restore: a save of Flash is small (Flash asked the player beyond 100 KB).
    static constexpr std::uint64_t MaxFileBytes = 16ull << 20;
    static constexpr std::uint64_t MaxTotalBytes = 256ull << 20;
    static constexpr std::size_t MaxEntries = 10000;

    enum class Status {
        Done,
        Refused, // the zip holds something not taken, or a movie concerned is in use: nothing changed
        Failed   // the zip or the saves could not be read or written: nothing changed
    };
    struct Result {
        Status status = Status::Failed;
        std::string message;             // for the player; also says what was done
        std::vector<std::string> movies; // the movie folders written or restored
        std::size_t files = 0;           // the save files written or restored
        bool ok() const { return status == Status::Done; }
    };

    // Writes the saves of movies (folder names in Saves/; empty: all of them) to zipFile,
    // replacing it atomically. Files that are no save (other names, links, too large, not
    // readable as a save) are left out, and the message says how many. With no save at all the
    // zip is written empty.
    static Result backup(const std::filesystem::path& zipFile, const std::filesystem::path& savesFolder,
                         const std::vector<std::string>& movies = {});

    struct RestoreOptions {
        // Restore only this movie's saves; a zip holding any other is refused. A zip of an earlier
        // version, which kept each movie's saves under its bare name ("NAME/..." for the folder
        // "<site>~NAME" of now), restores into this movie's folder, unless it holds saves of both
        // folders.
        std::optional<std::string> onlyMovie;
        // Whether a movie's saves are in use now (its viewer is open): such a restore is refused.
        std::function<bool(const std::string& movie)> inUse;
        // The game's name of a movie folder, for messages; the folder name when empty.
        std::function<std::string(const std::string& movie)> nameOf;
        // Exchanges the folder staged with target (which may be missing) in one step, or returns
        // false and leaves both as they were. The file system's exchange when empty; tests give
        // one that fails on the way.
        std::function<bool(const std::filesystem::path& staged, const std::filesystem::path& target)>
            exchange;
    };
    // Checks the zip as a restore does, writing nothing: Done with the movies and the number of
    // saves it would restore, or the refusal or failure the restore would give.
    static Result check(const std::filesystem::path& zipFile, const RestoreOptions& options = {});
    static Result restore(const std::filesystem::path& zipFile, const std::filesystem::path& savesFolder,
                          const RestoreOptions& options = {});
    // Removes the staging folders that restores interrupted by the end of their process left in
    // savesFolder.
    static void removeLeftovers(const std::filesystem::path& savesFolder);
};

} // namespace library
