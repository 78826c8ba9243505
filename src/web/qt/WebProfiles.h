#pragma once
// The web profiles of the program, one for each kind of content, so that no kind reaches another's
// cookies, storage or cache:
//
// - catalogue: the catalogue window's views, local page-cache pages that load the store's style
//   sheet and pictures over http. Its HTTP cache lasts, so a page keeps its look while the store
//   cannot be reached.
// - page apps: the viewer's page apps. Their cookies, local storage, IndexedDB and HTTP cache last
//   across restarts and reach the disk within seconds of a change, so a crash or a kill loses at
//   most the last moments (see PersistentCookies and prepareEngine()).
// - the Flash player: a private profile for each player, kept in memory only; the player page is
//   our own and the player keeps the movies' saves as files itself.
//
// The lasting profiles keep their data in WebData/<name>/ of the application folder. They are
// made on first use; a page must never outlive its profile, so this object is made before the
// windows whose views use it and destroyed after them.

#include <QString>
#include <filesystem>
#include <memory>

class PersistentCookies;
class QObject;
class QWebEngineProfile;

class WebProfiles {
  public:
    explicit WebProfiles(std::filesystem::path appFolder);
    ~WebProfiles();
    WebProfiles(const WebProfiles&) = delete;
    WebProfiles& operator=(const WebProfiles&) = delete;

    QWebEngineProfile* catalogue();
    QWebEngineProfile* pageApps();
    // A new private profile for one player, owned by owner (its view, which deletes its page first).
    static QWebEngineProfile* newPlayerProfile(QObject* owner);

    // WebData/ of the application folder.
    static std::filesystem::path folder(const std::filesystem::path& appFolder);
    // Engine switches that must be set before the application object exists.
    static void prepareEngine();

  private:
    std::unique_ptr<QWebEngineProfile> lasting(const QString& name);

    std::filesystem::path folder_;
    std::unique_ptr<QWebEngineProfile> catalogue_;
    std::unique_ptr<QWebEngineProfile> pageApps_;
    std::unique_ptr<PersistentCookies> pageAppCookies_; // goes first, while its store still exists
};
