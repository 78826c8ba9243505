#pragma once
// The files an app of the library has in the application folder: its movie in Game/ and its saves
// in Saves/. A movie file is named relative to Game: "<site>/<name>" in its site folder, saving in
// Saves/<site>~<name>/ (see viewer::MoviePlace), or, as an earlier version kept it, a name directly
// in Game, saving in Saves/<movie name>/ without the query the download kept in the name
// ("a.swf?level=2" saves in Saves/a.swf/).

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace library {

class GameFiles {
  public:
    explicit GameFiles(std::filesystem::path appFolder);

    // The folder name in Saves/ of a movie file in Game/; nothing for a name that is neither of the
    // two forms above (a page app's empty one included).
    static std::optional<std::string> savesNameOf(std::string_view movieFile);

    std::filesystem::path gameFolder() const { return appFolder_ / "Game"; }
    std::filesystem::path savesFolder() const { return appFolder_ / "Saves"; }

    // Sizes in bytes (of the files below, links not followed): of the movie file, of its saves
    // folder (0 when missing), of a whole folder.
    std::uintmax_t movieBytes(std::string_view movieFile) const;
    std::uintmax_t savesBytes(std::string_view movieFile) const;
    static std::uintmax_t folderBytes(const std::filesystem::path& folder);

    // Every size a list of apps shows, read in one pass over Game/ and one over Saves/.
    struct Usage {
        std::map<std::string, std::uintmax_t, std::less<>> movies; // by movie file, as above
        std::map<std::string, std::uintmax_t, std::less<>> saves;  // by folder name in Saves/
        std::uintmax_t game = 0;                                   // all of Game/
        std::uintmax_t allSaves = 0;                               // all of Saves/
        std::uintmax_t movieBytes(std::string_view movieFile) const;
        std::uintmax_t savesBytes(std::string_view movieFile) const;
    };
    Usage usage() const;

    // Deletes the movie's saves folder: it is first renamed aside, so the movie either finds all
    // its saves or none. True when no saves are left.
    bool deleteSaves(std::string_view movieFile) const;
    // Deletes the movie file from Game/. True when it is gone.
    bool deleteMovie(std::string_view movieFile) const;

  private:
    std::filesystem::path appFolder_;
};

} // namespace library
