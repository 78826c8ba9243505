#pragma once
// Where a movie from the store lives on disk, with everything it loads: its site folder in Game,
// named after the store folder the movie came from (scheme, host, port and folder path), so that
// two movies from different store folders never share a file, whatever the names. Inside the
// site folder a file keeps the path it has below the store folder, each name made safe for the
// file system (see safeName). Its saves live in Saves/<site>~<movie file name>.
//
// A movie file of the player's own (a file:// address) is a place too: its site folder is the
// folder it lies in on disk, where it plays from and where the files it loads are read, never
// fetched, by their own names. Its site name is "local~" and 16 hex digits of that folder's path,
// so that its saves, in Saves/<site>~<movie file name> as for a store movie, follow the file's full
// path: two files of the same name in two folders never share saves.
//
// Earlier versions kept every movie and every file it loaded directly in Game under its bare
// name, and its saves in Saves/<movie name>/; adoptEarlierFiles takes those over.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace viewer {

class MoviePlace {
  public:
    // The place of the movie at movieUrl, an http(s) address whose path ends in a file name;
    // nothing for any other address or a name that decodes to no plain file name.
    // A file:// address must name an absolute path without "." or ".." names (a canonical one).
    static std::optional<MoviePlace> of(std::string_view movieUrl);

    // Whether the movie is a file of the player's own, which plays from the folder it lies in.
    bool isLocal() const { return !localFolder_.empty(); }
    // The folder on disk that holds the movie and the files it loads: Game/<site>, or for a
    // local movie the folder it lies in.
    std::filesystem::path siteFolder(const std::filesystem::path& gameFolder) const;
    // The movie's file on disk: Game/<movieFile()>, or the local movie itself.
    std::filesystem::path movieOnDisk(const std::filesystem::path& gameFolder) const;
    // The file a decoded path below the site folder is kept as, relative to the site folder: as
    // diskPathOf gives it, or for a local movie the names as they are (checked as diskPathOf does).
    std::optional<std::filesystem::path> filePathOf(std::string_view relative) const;

    // The site folder's name in Game: "<host>[_<port>]~<16 hex digits of the store folder>".
    const std::string& site() const { return site_; }
    // The store folder the movie came from, ending in "/": files below it are the movie's own.
    const std::string& siteAddress() const { return siteAddress_; }
    // The movie's file name as its address names it (percent-decoded), and its address's query.
    const std::string& movieName() const { return movieName_; }
    const std::string& query() const { return query_; }
    // The movie file relative to Game: "<site>/<safe movie name>".
    std::filesystem::path movieFile() const;
    // The movie's folder name in Saves.
    std::string savesName() const;

    // The web address of a link the movie opened, given as the link's path on the player's scheme
    // with its query and fragment, percent-encoded ("/Game/<site>/more.html?id=2"): what the
    // movie's relative link names below or above its store folder. A path below "/Game/<site>/"
    // goes below the store folder, one elsewhere in "/Game/" one folder above it (a "../" link), and
    // any other path from the store's root. Nothing for a local movie, whose links name files.
    std::optional<std::string> linkAddressOf(std::string_view playerPath) const;

    // The store address of a file at relative, a decoded path below the site folder ("a.txt",
    // "data/b.xml"); nothing when diskPathOf refuses it.
    std::optional<std::string> addressOf(std::string_view relative) const;
    // The file a decoded path below the site folder is kept as, relative to the site folder:
    // each name through safeName. Nothing for an empty path or one with an empty, ".", "..",
    // control-character or "\" name, or deeper than 32 folders: nothing leaves the site folder.
    static std::optional<std::filesystem::path> diskPathOf(std::string_view relative);
    // A plain file name as it is kept on disk: itself when it is at most 150 bytes, holds no "~"
    // and does not start with "."; otherwise its first 100 bytes (whole characters, "~" and a
    // leading "." made "_"), "~", 16 hex digits of the whole name and its extension when short.
    // Different names never give the same result but by a hash collision, and every result fits
    // in a file name (255 bytes) with room for the site in Saves.
    static std::string safeName(std::string_view plainName);
    // The folder name in Saves of a movie file relative to Game: "<site>~<name>" for
    // "<site>/<name>", and for a movie directly in Game (an earlier version's) its name without
    // the query the download kept in it. Nothing for anything else.
    static std::optional<std::string> savesNameOf(std::string_view movieFile);

    // Takes over what an earlier version kept for this movie under legacyFile, its file name in
    // Game then: the movie is linked (or copied) into the site folder unless one is there, and its
    // saves folder renamed to savesName() unless that exists, or unless savesAreItsAlone (asked
    // only then) says no: that folder was shared by every app whose movie had that name, so it
    // stays where it is, for a backup that restores into the game the player chooses. Nothing is
    // overwritten, and the old movie stays for other apps that named the same file.
    void adoptEarlierFiles(const std::filesystem::path& gameFolder, const std::filesystem::path& savesFolder,
                           std::string_view legacyFile, const std::function<bool()>& savesAreItsAlone) const;
    // What adoptEarlierFiles would take over, asking the disk about those two names only: the
    // earlier movie while the site folder has none, the earlier saves folder while the movie has
    // none (whether it was shared is not asked).
    struct EarlierFiles {
        bool movie = false;
        bool saves = false;
    };
    EarlierFiles earlierFiles(const std::filesystem::path& gameFolder,
                              const std::filesystem::path& savesFolder, std::string_view legacyFile) const;

  private:
    // The place of a local movie at a file:// address.
    static std::optional<MoviePlace> ofFileAddress(std::string_view fileUrl);

    std::string site_;
    std::string siteAddress_;
    std::string movieName_;
    std::string query_;
    std::filesystem::path localFolder_; // a local movie's folder; empty for a movie from the store
};

} // namespace viewer
