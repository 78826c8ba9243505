#pragma once
// The catalogue window driven inside the test process against the built appstore: a fresh
// application folder pointing at a store on a free port, the start sequence (without starting
// Sorrel, so that the page cache holds only what a test puts there or the window builds), and a
// MainFrm shown on the offscreen screen, clicked with real mouse events.

#include "BrindleFolder.h"
#include "StoreProcess.h"
#include "catalogue/qt/MainFrm.h"
#include "web/qt/WebProfiles.h"

#include <QSignalSpy>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class WebBrowser;

class CatalogueSession {
  public:
    explicit CatalogueSession(const std::vector<std::string>& storeArgs = {});
    ~CatalogueSession();

    // Runs the start sequence, shows the window and waits until its first page has loaded.
    void open();
    // Closes the window and its web profiles, then opens both again on the same folder, as the
    // program's next start does.
    void restart();
    MainFrm& window() { return *window_; }
    StoreProcess& store() { return store_; }
    BrindleFolder& folder() { return folder_; }
    // The web profiles of the session's application folder.
    WebProfiles& web() { return *web_; }

    void clickMainTab(int index);
    void clickSubTab(int index);

    // The store's page requests since the last call (or since the store started): "GET /path?query"
    // for every page, style sheets, pictures and the maker's pages left out.
    std::vector<std::string> newRequests();

    // The text of the page a browser shows.
    std::string bodyText(WebBrowser& browser);
    // The text of what script gives in the page a browser shows (in the application's script world).
    std::string evaluate(WebBrowser& browser, const QString& script);

  private:
    StoreProcess store_;
    BrindleFolder folder_;
    std::optional<WebProfiles> web_;
    std::unique_ptr<MainFrm> window_;
    std::size_t logSeen_ = 0;
};

// Records the pages a browser finishes loading from the moment it is made.
class PageWatch {
  public:
    explicit PageWatch(WebBrowser& browser);
    // Waits until the page file of key has finished loading in the browser.
    bool waitFor(const std::filesystem::path& appFolder, const std::string& key, int timeoutMs = 20000);
    // Names of the page files loaded so far ("GameAll.html").
    std::vector<std::string> loaded() const;

  private:
    QSignalSpy spy_;
};

// Whether requests holds one for path (with its query).
bool requested(const std::vector<std::string>& requests, const std::string& path);
