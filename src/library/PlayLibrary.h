#pragma once
// The play library: every app the player opened, with its play count, play time, last play and
// star, kept in the SQLite file Library.db of the application folder.
//
// The file is in WAL mode with synchronous=FULL and every change is one transaction, so a crash or
// kill -9 at any moment loses no committed change and never leaves the file damaged; the play time
// since the viewer last added some (about once a minute) is all that a kill loses. The schema
// version is the file's user_version. A damaged file (SQLite finds it corrupt or no database at
// all) is set aside as Library.db.damaged-<time> and a new one made; a file that is only busy or
// cannot be written now is left as it is. A new file is filled with the movie apps kept in Apps/
// (KeptApps), so apps opened before the library existed, or before the damage, are listed again
// (with one play, no play time, and the time their details were last kept as their last play).
//
// Several processes may use the file at once (Brindle and a command line); a writer waits for
// another one's transaction. Its methods may be called from several threads; one runs at a time.
// A read or write that SQLite cannot do (the file busy beyond the wait, the disk full) throws
// sqlite::Error (LibraryProblem says what it means for the player); an answer is never made up
// from a failure.

#include "library/LibraryProblem.h"
#include "library/PlayedApp.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace sqlite {
class Database;
}

namespace library {

class PlayLibrary {
  public:
    static constexpr const char* FileName = "Library.db";

    // Opens (creates, or sets aside and makes anew) the library of appFolder. Null when it cannot
    // be used now (read-only folder, disk full, another process holding it beyond 5 seconds, a
    // file of another program), with why in problem.
    static std::unique_ptr<PlayLibrary> open(const std::filesystem::path& appFolder,
                                             LibraryProblem* problem = nullptr);
    ~PlayLibrary();
    PlayLibrary(const PlayLibrary&) = delete;
    PlayLibrary& operator=(const PlayLibrary&) = delete;

    // The file set aside when open found it damaged; empty otherwise.
    const std::filesystem::path& setAside() const { return setAside_; }

    // An app opened at time now: one more play, last played now. name, movieFile and iconFile
    // replace the kept ones when not empty.
    void recordOpen(const std::string& link, const std::string& name, bool isMovie,
                    const std::string& movieFile, const std::string& iconFile, std::int64_t now);
    // The changes below are false when link has no row (then nothing happens).
    // Adds seconds of play time to the app of link.
    bool addPlayTime(const std::string& link, std::int64_t seconds);
    // The kept icon's file name in Icons/, once it is there.
    bool setIconFile(const std::string& link, const std::string& iconFile);
    bool setFavourite(const std::string& link, bool favourite);
    // Drops the app's row; its files in Game/ and Saves/ are GameFiles' business.
    bool remove(const std::string& link);

    // Every app, the most recently played first (then by name).
    std::vector<PlayedApp> list() const;
    // The app of link; nothing when it has no row.
    std::optional<PlayedApp> find(const std::string& link) const;

  private:
    PlayLibrary(std::unique_ptr<sqlite::Database> db, std::filesystem::path setAside);

    std::unique_ptr<sqlite::Database> db_;
    std::filesystem::path setAside_;
    mutable std::mutex mutex_; // a statement's step and its count of changed rows go together
};

} // namespace library
