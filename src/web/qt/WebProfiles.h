#pragma once
// The web profiles of the program, one for each kind of content, so that no kind reaches another's
// cookies, storage or cache:
//
// - catalogue: the catalogue window's views, local page-cache pages that load the store's style
//   sheet and pictures over http. Its HTTP cache lasts, so a page keeps its look while the store
//   cannot be reached.
// - page apps: a profile for each page app (PageAppFolders), so that no app reads another's data.
//   Their cookies, local storage, IndexedDB and HTTP cache last across restarts and reach the disk
//   within seconds of a change, so a crash or a kill loses at most the last moments (see
//   PersistentCookies and prepareEngine()).
// - the Flash player: a private profile for each player, kept in memory only; the player page is
//   our own and the player keeps the movies' saves as files itself.
//
// The lasting profiles keep their data in WebData/ of the data folder: Catalogue/ and
// PageApps/<app>/; their HTTP caches there too when the data stays beside the programs, else in the
// same places under the user's cache folder. They are made on first use and kept until this object ends (an
// app opened again finds its profile); a page must never outlive its profile, so this object is made before
// the windows whose views use it and destroyed after them.

#include "base/Folders.h"
#include "web/PageAppFolders.h"

#include <QString>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>

class PersistentCookies;
class QObject;
class QWebEngineProfile;

class WebProfiles {
  public:
    explicit WebProfiles(const base::Folders& folders);
    ~WebProfiles();
    WebProfiles(const WebProfiles&) = delete;
    WebProfiles& operator=(const WebProfiles&) = delete;

    QWebEngineProfile* catalogue();
    // The profile of the page app opened by link.
    QWebEngineProfile* pageApp(std::string_view link);
    // A new private profile for one player, owned by owner (its view, which deletes its page first).
    static QWebEngineProfile* newPlayerProfile(QObject* owner);

    // WebData/ of the data folder.
    static std::filesystem::path folder(const std::filesystem::path& dataFolder);
    // Engine switches and the environment of the engine's processes, set before the application
    // object exists.
    static void prepareEngine();

  private:
    struct PageApp {
        std::unique_ptr<QWebEngineProfile> profile;
        std::unique_ptr<PersistentCookies> cookies; // goes first, while its store still exists
    };

    std::unique_ptr<QWebEngineProfile> lasting(const QString& name, const std::filesystem::path& dir);

    std::filesystem::path folder_;
    std::filesystem::path cacheFolder_; // folder_ or the web engine's caches in the cache folder
    web::PageAppFolders pageAppFolders_;
    bool pageAppsSplit_ = false;
    std::unique_ptr<QWebEngineProfile> catalogue_;
    std::map<std::string, PageApp> pageApps_; // by the name of their folder
};
