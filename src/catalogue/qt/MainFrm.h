#pragma once
// The catalogue window: a skinned frame with the main tab strip SStab1 (eight areas), the sub-tab
// strip GameSStab of the chosen area, and the page browsers HomeWeb (home page and search results,
// in the panel HomePic) and Web (category pages, in the panel BackPic). Pages come from the page
// cache; a page missing there is built from the store on a worker thread while the window stays
// responsive, and only the page of the user's last choice is shown.
//
// Beside the areas, the 我的游戏 page (LibraryPage) shows the apps played before, from the play
// library of the application folder, used on its own thread; its button above the search bar and
// Ctrl+H show it in the place of the sub-tabs and category pages, and a click on an area's tab, a
// search or an area key leaves it. An app played from it opens as an app link clicked in a page.
// Files dropped onto the window open as movies of the player's own (movieFileChosen).
//
// At load the window also loads the statistics page into WebTJ and starts the update page's
// download with UpDateDown. Closing the window closes the app viewer too and ends the program. Its
// keys are those of MainShortcuts.

#include "base/Folders.h"
#include "catalogue/MainLayout.h"
#include "pages/Catalogue.h"
#include "startup/Servers.h"
#include "startup/Settings.h"

#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

class FrameReskin;
class LibraryPage;
class LibraryService;
class PageBuildQueue;
class PictureButton;
class PagingBar;
class SearchBar;
class WindowNote;

class QWebEngineProfile;
class WebBrowser;
class WebProfiles;
class bkDLControlWidget;
namespace skin {
class CSSTab;
class DirectUI;
class SSTab;
} // namespace skin

class MainFrm : public QWidget {
    Q_OBJECT
  public:
    // The outer size at load, 15000 x 10920 twips.
    static constexpr int LoadWidth = 1000;
    static constexpr int LoadHeight = 728;

    // Runs the load sequence; the first page is loaded when the window gets its size on showing.
    // The page views run on the catalogue profile of web, which must outlive the window.
    MainFrm(base::Folders folders, Settings settings, Servers servers, WebProfiles& web,
            QWidget* parent = nullptr);
    ~MainFrm() override;

    skin::SSTab* SStab1() const { return SStab1_; }
    skin::SSTab* GameSStab() const { return GameSStab_; }
    QWidget* HomePic() const { return HomePic_; }
    QWidget* BackPic() const { return BackPic_; }
    WebBrowser* HomeWeb() const { return HomeWeb_; }
    WebBrowser* Web() const { return Web_; }
    bkDLControlWidget* UpDateDown() const { return UpDateDown_; }
    bkDLControlWidget* DownFtp() const { return DownFtp_; }
    SearchBar* SouSuoPic() const { return SouSuoPic_; }
    PictureButton* LibraryCmd() const { return LibraryCmd_; }
    PagingBar* pagingBar() const { return pagingBar_; }
    // The frame skin; null once the window unloaded.
    skin::DirectUI* DirectUI() const { return frameSkin_.get(); }
    // Releases the frame skin and skins the frame anew with skinName; the tab strips, the settings
    // and the page cache stay (the hidden Command1 / SkinList pair).
    void ReskinFrame(const QString& skinName);
    FrameReskin* frameReskin() const { return frameReskin_; }
    // Ends the page builds for good (a skin change is about to rebuild the page cache in another
    // colour); pages that are not cached are no longer shown.
    void StopPageBuilds();

    const Settings& settings() const { return settings_; }
    const Servers& servers() const { return servers_; }
    // The layout of the window's current size.
    const catalogue::MainLayout& layout() const { return layout_; }

    // Shows the page of the current main tab and sub-tab (HomeAll, SouSuo or a category page).
    void LoadPage();
    // Shows category page key in Web, built from storeAddress when it is not cached; NextPage is
    // always built.
    void LoadCategoryPage(const std::string& key, const std::string& storeAddress);

    // The store search address of the last search; the search tab searches for the box's text
    // while it is empty.
    const std::string& searchUrl() const { return searchUrl_; }
    void setSearchUrl(std::string url) { searchUrl_ = std::move(url); }
    // The search button: searches the store for text and shows the results on the search tab.
    void Search(const QString& text);
    // Shows the 我的游戏 page, read anew, in place of the current area's page.
    void ShowLibrary();
    bool libraryShown() const { return libraryShown_; }
    // The page, once it was first shown.
    LibraryPage* libraryPage() const { return libraryPage_; }
    // The play library of the application folder. A library that cannot be used is said once in a
    // note, with the reason.
    LibraryService* playLibrary() const { return library_; }
    // The play library changed: a page in view is read anew, its rows in their places.
    void libraryChanged();

    // Shows text briefly in the middle of the window, above the pages (why an app did not open).
    void ShowNote(const QString& text);
    WindowNote* note() const { return note_; }
    // How long the size must stay unchanged before a resize reloads the page (150 ms by default).
    void setResizeSettleMs(int ms) { resizeReload_.setInterval(ms); }
    // Whether a reload waits for the size to settle.
    bool reloadPending() const { return resizeReload_.isActive(); }
    // Page builds started and not finished yet.
    int pageBuildsRunning() const;

  signals:
    // A page in Web or HomeWeb asked for a new window showing url (an app link); none opened.
    void appLinkClicked(const QUrl& url);
    // The player asked to play the file at path (a movie of their own): dropped onto the window,
    // chosen or played again on the 我的游戏 page.
    void movieFileChosen(const QString& path);
    // The pointer is on a link of a page in Web or HomeWeb (its address as appLinkClicked gives
    // it), or left it (an empty address).
    void linkHovered(const QUrl& url);
    // What is in view now lists movie apps (a game category, search results, 我的游戏), or not.
    void moviePageShown(bool inView);
    // The pointer came onto the tab of the game area (on), whose pages list movie apps, or left it.
    void movieTabPointed(bool on);
    // A page file was handed to a browser: key's page is loading in Web or HomeWeb.
    void pageRequested(const QString& key);
    // A category page load starts: the paging bar hides.
    void categoryLoadStarted();
    // A category page is shown and its paging file exists: the paging bar lays itself out from it.
    void pagingFileShown(const QString& pagingFile);
    // The window unloaded: the program ends.
    void unloaded();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void createControls(QWebEngineProfile* profile);
    QUrl appLink(const QUrl& pageLink) const;
    void loadSkin();
    void startDownloads();
    void setUpSubTabs();
    void showAreaPanel();
    void applyLayout();
    bool layoutUsable() const;
    // Shows key's page in browser: at once when its file is cached (and not rebuilt), otherwise once
    // it is built, unless a later page request came in meanwhile.
    void showPage(PageBuilder builder, const std::string& key, const std::string& storeAddress, bool rebuild,
                  WebBrowser* browser);
    void navigate(WebBrowser* browser, const std::string& key);
    // A note in place of a page that could not be built; nothing of the page cache is touched.
    void showUnavailable(WebBrowser* browser);
    std::string mainCaption() const;
    std::string subCaption() const;
    void createBars();
    void captureSearch(const QUrl& url, bool& cancel);
    // Shows again what is in view: the 我的游戏 page or the current area's page.
    void showAgain();
    void buildLibraryPage();
    void placeLibrary();
    void openFiles(const QStringList& files);
    bool eventFilter(QObject* watched, QEvent* event) override;

    base::Folders folders_;
    Settings settings_;
    Servers servers_;
    catalogue::MainLayout layout_;

    std::unique_ptr<skin::DirectUI> frameSkin_;
    skin::SSTab* SStab1_ = nullptr;
    skin::SSTab* GameSStab_ = nullptr;
    skin::CSSTab* mainTabSkin_ = nullptr;
    QPointer<skin::CSSTab> subTabSkin_;
    QWidget* HomePic_ = nullptr;
    QWidget* BackPic_ = nullptr;
    WebBrowser* HomeWeb_ = nullptr;
    WebBrowser* Web_ = nullptr;
    QPointer<WebBrowser> WebTJ_;
    bkDLControlWidget* UpDateDown_ = nullptr;
    bkDLControlWidget* DownFtp_ = nullptr;
    PageBuildQueue* builds_ = nullptr;
    SearchBar* SouSuoPic_ = nullptr;
    PagingBar* pagingBar_ = nullptr;
    FrameReskin* frameReskin_ = nullptr;
    WindowNote* note_ = nullptr;
    PictureButton* LibraryCmd_ = nullptr;
    LibraryService* library_ = nullptr;
    LibraryPage* libraryPage_ = nullptr;
    bool libraryShown_ = false;

    std::string searchUrl_;
    // Counts page requests; a build that finishes for an older request shows nothing.
    std::uint64_t request_ = 0;
    // Reloads the page once the size has settled while the border is dragged.
    QTimer resizeReload_;
    bool firstPageRequested_ = false;
};
