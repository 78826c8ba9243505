#pragma once
// The details of the movie apps opened before, kept in the application folder so that such an app
// still opens, and plays its movie from Game, while the store cannot be reached. Each app has an
// INI file of its own in Apps/, named after a hash of the link it was opened by and holding that
// link; the file is replaced whole and atomically whenever the app opens with other details than
// those kept. A page app is not kept: its page comes from the store, so it cannot open without it.

#include "viewer/OpenedApp.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace viewer {

class KeptApps {
  public:
    explicit KeptApps(std::filesystem::path appFolder);

    // Reads the app behind linkAddress from the store (OpenedApp::read, with the entry address kept
    // for the link as the likely one) and keeps a movie app read there. When the store cannot be
    // reached, the movie app kept for the link is taken instead
    // (outcome Kept), provided its movie is in Game; otherwise the outcome stays Unreachable.
    OpenedApp read(std::string_view linkAddress, std::string_view storeSite,
                   const std::function<void(bool isWidgetApp)>& kindKnown = {}) const;

    // Keeps the details of a movie app opened by linkAddress; false for another app, for details
    // without a usable movie address (they never replace kept ones) or when they could not be written.
    bool keep(std::string_view linkAddress, const OpenedApp& app) const;
    // The movie app kept for linkAddress, if its movie is in Game.
    std::optional<OpenedApp> find(std::string_view linkAddress) const;

    // The app's movie file in Game, relative to it: where an earlier version kept it (directly in
    // Game) while it is there and not yet in its site folder, otherwise in its site folder; nothing
    // for details without a usable movie address.
    std::optional<std::string> keptMovieFile(const AppDetail& detail) const;

    // Takes over what an earlier version kept for the movie app of detail (MoviePlace's
    // adoptEarlierFiles): its saves only when no other kept app's movie had the same name then.
    void adoptEarlierFiles(const AppDetail& detail) const;
    // Whether there may be anything to take over for it, asking the disk about its own files only.
    bool hasEarlierFiles(const AppDetail& detail) const;

    // The file that keeps the app of linkAddress.
    std::filesystem::path fileFor(std::string_view linkAddress) const;

    // Every app kept in Apps/, whether or not its movie is in Game, with the time its details
    // were last written.
    struct Kept {
        std::string link;
        AppDetail detail;
        std::filesystem::file_time_type keptAt;
        std::string entry; // the entry address the link led to; empty in files of earlier versions
    };
    std::vector<Kept> all() const;

  private:
    // The link, details and entry address in a file of Apps/ (not the time); nothing when it holds
    // no link.
    static std::optional<Kept> readFile(const std::filesystem::path& file);

    std::filesystem::path appFolder_;
};

} // namespace viewer
