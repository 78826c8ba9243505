#include "catalogue/qt/MainFrm.h"

#include "base/Twips.h"
#include "catalogue/StoreSearch.h"
#include "catalogue/UpdateFlow.h"
#include "catalogue/qt/FileDrops.h"
#include "catalogue/qt/FrameReskin.h"
#include "catalogue/qt/MainShortcuts.h"
#include "catalogue/qt/PageBuildQueue.h"
#include "catalogue/qt/PagingBar.h"
#include "catalogue/qt/PictureButton.h"
#include "catalogue/qt/SearchBar.h"
#include "catalogue/qt/WindowNote.h"
#include "controls/qt/bkDLControlWidget.h"
#include "library/SaveArchive.h"
#include "library/qt/LibraryPage.h"
#include "library/qt/LibraryService.h"
#include "pages/UnavailablePage.h"
#include "skin/qt/AreaPicture.h"
#include "skin/qt/CSSTab.h"
#include "skin/qt/DirectUI.h"
#include "skin/qt/LoadWebPicture.h"
#include "skin/qt/SSTab.h"
#include "web/qt/WebBrowser.h"
#include "web/qt/WebProfiles.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <QWebEnginePage>
#include <system_error>

namespace fs = std::filesystem;
using base::TwipsRect;
using catalogue::MainLayout;

namespace {

constexpr int MainTabCount = 8;
constexpr int SubTabCount = 9;
constexpr int MainTabWidth = 80, MainTabHeight = 75;
constexpr int SubTabWidth = 60, SubTabHeight = 30;
// How long the size must stay unchanged before a resize reloads the page.
constexpr int ResizeSettleMs = 150;
const std::string HomeCaption = "首页";
const std::string GameCaption = "游戏";
const std::string SearchCaption = "搜索";
constexpr int SearchTab = 7;
constexpr int LibraryPageBuildDelayMs = 2000;

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

void place(QWidget* widget, const TwipsRect& r) {
    widget->setGeometry(base::twipsToPixels(r.left), base::twipsToPixels(r.top), base::twipsToPixels(r.width),
                        base::twipsToPixels(r.height));
}

// A frame panel: clips its browser and shows the page colour while a page is on its way.
QWidget* makePanel(QWidget* parent, const std::string& pageColour) {
    auto* panel = new QWidget(parent);
    QPalette palette = panel->palette();
    const QColor colour(qs(pageColour));
    palette.setColor(QPalette::Window, colour.isValid() ? colour : QColor(Qt::white));
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
    return panel;
}

} // namespace

MainFrm::MainFrm(base::Folders folders, Settings settings, Servers servers, WebProfiles& web, QWidget* parent)
    : QWidget(parent), folders_(std::move(folders)), settings_(std::move(settings)),
      servers_(std::move(servers)), library_(new LibraryService(folders_.data, this)) {
    connect(library_, &LibraryService::problemChanged, this, [this](const QString& problem) {
        if (!problem.isEmpty()) ShowNote(QStringLiteral("游戏记录暂时不能使用：") + problem);
    });
    // What a restore cut short by the end of the program left in Saves/ goes.
    library_->run([saves = folders_.data / "Saves"](library::PlayLibrary*) {
        library::SaveArchive::removeLeftovers(saves);
    });
    resize(LoadWidth, LoadHeight);
    setWindowTitle(QStringLiteral("Lumora V1.0"));
    builds_ = new PageBuildQueue({Catalogue::htmlFolder(folders_.data), servers_.site, servers_.staticHost},
                                 settings_.webBackColor, this);
    createControls(web.catalogue());
    loadSkin();
    createBars();
    startDownloads();
    resizeReload_.setSingleShot(true);
    resizeReload_.setInterval(ResizeSettleMs);
    connect(&resizeReload_, &QTimer::timeout, this, &MainFrm::showAgain);
}

MainFrm::~MainFrm() = default;

void MainFrm::createControls(QWebEngineProfile* profile) {
    SStab1_ = new skin::SSTab(this);
    SStab1_->setTabCount(MainTabCount);
    SStab1_->setTabHeightTwips(catalogue::MainTabRowTwips);
    const auto& areas = Catalogue::mainTabs();
    for (int i = 0; i < MainTabCount; ++i) {
        SStab1_->setTabCaption(i, qs(std::string(areas[i])));
        SStab1_->setTabPicture(i, skin::AreaPicture(i, SStab1_->tabCaption(i)));
    }

    // The panels stand on the strip itself rather than on one tab's page: the page loader shows the
    // one the current area uses.
    HomePic_ = makePanel(SStab1_, settings_.webBackColor);
    HomeWeb_ = new WebBrowser(profile, HomePic_);
    GameSStab_ = new skin::SSTab(SStab1_);
    GameSStab_->setTabCount(SubTabCount);
    GameSStab_->setTabHeightTwips(catalogue::SubTabRowTwips);
    BackPic_ = makePanel(GameSStab_, settings_.webBackColor);
    Web_ = new WebBrowser(profile, BackPic_);
    HomeWeb_->hide();
    Web_->hide();

    WebTJ_ = new WebBrowser(profile, this);
    WebTJ_->setGeometry(0, 0, 1, 1);
    WebTJ_->hide();
    UpDateDown_ = new bkDLControlWidget(this);
    DownFtp_ = new bkDLControlWidget(this);
    UpDateDown_->hide();
    DownFtp_->hide();
    frameReskin_ = new FrameReskin(this, [this](const QString& skinName) { ReskinFrame(skinName); });
    note_ = new WindowNote(this);
    connect(new FileDrops(this), &FileDrops::dropped, this, &MainFrm::openFiles);

    for (WebBrowser* browser : {Web_, HomeWeb_}) {
        browser->setScriptsEnabled(false); // they show store content as local pages
        connect(browser, &WebBrowser::NewWindow3, this,
                [this](const QUrl& url) { emit appLinkClicked(appLink(url)); });
        connect(browser->page(), &QWebEnginePage::linkHovered, this, [this](const QString& url) {
            emit linkHovered(url.isEmpty() ? QUrl() : appLink(QUrl(url)));
        });
    }
    connect(SStab1_, &skin::SSTab::clicked, this, &MainFrm::setUpSubTabs);
    connect(GameSStab_, &skin::SSTab::clicked, this, &MainFrm::LoadPage);
    // The game area's categories until another area is chosen.
    GameSStab_->setCurrentTab(0);
    const auto games = Catalogue::subTabs(Catalogue::mainTabs()[1]);
    for (int i = 0; i < SubTabCount; ++i) {
        GameSStab_->setTabVisible(i, i < static_cast<int>(games.size()));
        if (i < static_cast<int>(games.size()))
            GameSStab_->setTabCaption(i, qs(std::string(games[i]->subTab)));
    }
}

QUrl MainFrm::appLink(const QUrl& pageLink) const {
    return QUrl(QString::fromStdString(
        catalogue::StoreLinkAddress(pageLink.toString(QUrl::FullyEncoded).toStdString(), servers_.site)));
}

void MainFrm::loadSkin() {
    const QString skinName = qs(settings_.skinName);
    ReskinFrame(skinName);
    mainTabSkin_ = new skin::CSSTab(this);
    mainTabSkin_->setColors(settings_.tabColor, settings_.tabBackColor);
    mainTabSkin_->setTabWidth(MainTabWidth);
    mainTabSkin_->setTabHeight(MainTabHeight);
    mainTabSkin_->TabSkin(SStab1_, skinName, folders_.program);
    connect(mainTabSkin_, &skin::CSSTab::hoveredTabChanged, this, [this](int tab) {
        emit movieTabPointed(tab >= 0 && SStab1_->tabCaption(tab).toStdString() == GameCaption);
    });
}

void MainFrm::createBars() {
    const fs::path skinFolder = folders_.program / "Skin" / settings_.skinName;
    SouSuoPic_ = new SearchBar(this, skinFolder);
    connect(SouSuoPic_, &SearchBar::searchRequested, this, &MainFrm::Search);
    connect(HomeWeb_, &WebBrowser::BeforeNavigate2, this, &MainFrm::captureSearch, Qt::DirectConnection);

    new MainShortcuts(
        this, SouSuoPic_->SouSuoText(), SStab1_, [this] { showAgain(); }, [this] { ShowLibrary(); });

    LibraryCmd_ = new PictureButton(skin::LoadWebPicture(skinFolder / "LibraryCmd.bmp").image(),
                                    QSize(base::twipsToPixels(catalogue::LibraryButtonWidthTwips),
                                          base::twipsToPixels(catalogue::SearchBarHeightTwips)),
                                    this);
    LibraryCmd_->setObjectName("LibraryCmd");
    LibraryCmd_->setToolTip(QStringLiteral("我的游戏 (Ctrl+H)"));
    connect(LibraryCmd_, &PictureButton::clicked, this, &MainFrm::ShowLibrary);
    // A click on the tab row leaves the page, also on the tab of the area already chosen.
    SStab1_->installEventFilter(this);

    pagingBar_ = new PagingBar(GameSStab_, skinFolder);
    connect(this, &MainFrm::categoryLoadStarted, pagingBar_, &PagingBar::Hide);
    connect(this, &MainFrm::pagingFileShown, pagingBar_,
            [this](const QString& file) { pagingBar_->LayOut(file.toStdString()); });
    // Pages reached through the bar are always built afresh under one key.
    connect(pagingBar_, &PagingBar::pageRequested, this, [this](const QString& address) {
        LoadCategoryPage(std::string(kNextPageKey), address.toStdString());
    });
}

void MainFrm::Search(const QString& text) {
    if (text.isEmpty()) return;
    searchUrl_ = catalogue::SearchAddress(servers_.site, text.toStdString());
    // Changing the tab loads the search page already.
    if (SStab1_->currentTab() != SearchTab)
        SStab1_->setCurrentTab(SearchTab);
    else
        LoadPage();
}

// A store search opened inside the home or search page becomes the local search page, on the tab
// that is shown; the search box's address stays.
void MainFrm::captureSearch(const QUrl& url, bool& cancel) {
    const std::string address = catalogue::StoreLinkAddress(url.toString().toStdString(), servers_.site);
    if (!catalogue::IsStoreSearch(address, servers_.site)) return;
    cancel = true;
    // Out of the engine's navigation callback first.
    QTimer::singleShot(0, this, [this, address] {
        emit moviePageShown(true);
        showPage(PageBuilder::Search, std::string(kSearchKey), address, true, HomeWeb_);
    });
}

void MainFrm::ReskinFrame(const QString& skinName) {
    frameSkin_.reset();
    frameSkin_ = std::make_unique<skin::DirectUI>();
    frameSkin_->Skin(skinName, this, folders_.program);
}

void MainFrm::ShowNote(const QString& text) {
    note_->showNote(text);
}

void MainFrm::StopPageBuilds() {
    builds_->stop();
}

void MainFrm::startDownloads() {
    // Nothing of the statistics page is used; its view goes once the page has loaded.
    connect(WebTJ_, &WebBrowser::DownloadComplete, WebTJ_, &QObject::deleteLater);
    WebTJ_->Navigate(qs(servers_.makerServer + "/box/tj.html"));
    UpDateDown_->setFileURL(qs(servers_.makerServer + "/box/update.html"));
    UpDateDown_->setSaveFilePath(qs((folders_.data / "").string()));
    UpDateDown_->control().setLimits(UpdateFlow::PageMaxBytes, UpdateFlow::PageDeadline);
    UpDateDown_->BeginDownload();
}

std::string MainFrm::mainCaption() const {
    return SStab1_->tabCaption(SStab1_->currentTab()).toStdString();
}

std::string MainFrm::subCaption() const {
    return GameSStab_->tabCaption(GameSStab_->currentTab()).toStdString();
}

void MainFrm::setUpSubTabs() {
    {
        // The page of the new area is loaded once, at the end, not for this selection too.
        const QSignalBlocker quiet(GameSStab_);
        GameSStab_->setCurrentTab(0);
    }
    const auto entries = Catalogue::subTabs(mainCaption());
    if (!entries.empty()) {
        for (int i = 0; i < SubTabCount; ++i) {
            const bool shown = i < static_cast<int>(entries.size());
            GameSStab_->setTabVisible(i, shown);
            if (shown) GameSStab_->setTabCaption(i, qs(std::string(entries[i]->subTab)));
        }
    }
    // A new sub-tab skin for every area; the old one lets go of the strip first.
    if (subTabSkin_) {
        subTabSkin_->Detach();
        delete subTabSkin_;
    }
    subTabSkin_ = new skin::CSSTab(this);
    subTabSkin_->setColors(settings_.tabColor, settings_.tabBackColor);
    subTabSkin_->setTabWidth(SubTabWidth);
    subTabSkin_->setTabHeight(SubTabHeight);
    subTabSkin_->TabSkin(GameSStab_, qs(settings_.skinName) + QStringLiteral("\\Tabs"), folders_.program);
    LoadPage();
}

void MainFrm::ShowLibrary() {
    buildLibraryPage();
    libraryShown_ = true;
    emit moviePageShown(true);
    HomePic_->hide();
    GameSStab_->hide();
    libraryPage_->refresh();
    placeLibrary();
    libraryPage_->show();
    libraryPage_->raise();
}

void MainFrm::buildLibraryPage() {
    if (libraryPage_) return;
    libraryPage_ = new LibraryPage(folders_.data, *library_, QColor(qs(settings_.webBackColor)), SStab1_);
    libraryPage_->hide();
    libraryPage_->ensurePolished(); // its styles too
    placeLibrary();
    connect(libraryPage_, &LibraryPage::playRequested, this, [this](const QString& link) {
        const QUrl url(link);
        if (url.isLocalFile())
            emit movieFileChosen(url.toLocalFile());
        else
            emit appLinkClicked(url);
    });
    connect(libraryPage_, &LibraryPage::filesChosen, this, &MainFrm::openFiles);
}

void MainFrm::openFiles(const QStringList& files) {
    for (const QString& file : files)
        emit movieFileChosen(file);
}

void MainFrm::placeLibrary() {
    if (libraryPage_ && layoutUsable()) place(libraryPage_, layout_.library);
}

void MainFrm::libraryChanged() {
    if (libraryShown_) libraryPage_->refresh(PlayedAppsModel::Places::Keep);
}

void MainFrm::showAgain() {
    if (libraryShown_)
        ShowLibrary();
    else
        LoadPage();
}

bool MainFrm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == SStab1_ && event->type() == QEvent::MouseButtonPress && libraryShown_ &&
        static_cast<QMouseEvent*>(event)->position().y() < base::twipsToPixels(catalogue::MainTabRowTwips)) {
        // After the click: a new area loads its page already.
        QTimer::singleShot(0, this, [this] {
            if (libraryShown_) LoadPage();
        });
    }
    return QWidget::eventFilter(watched, event);
}

void MainFrm::showAreaPanel() {
    const std::string area = mainCaption();
    const bool homeOrSearch = area == HomeCaption || area == SearchCaption;
    HomePic_->setVisible(homeOrSearch);
    GameSStab_->setVisible(!homeOrSearch);
}

void MainFrm::LoadPage() {
    resizeReload_.stop();
    if (!layoutUsable()) return;
    firstPageRequested_ = true;
    libraryShown_ = false;
    if (libraryPage_) libraryPage_->hide();
    showAreaPanel();
    const std::string area = mainCaption();
    emit moviePageShown(area == GameCaption || area == SearchCaption);
    if (area == SearchCaption) {
        place(HomePic_, layout_.search.panel);
        HomeWeb_->Move(layout_.search.browser.left, layout_.search.browser.top, layout_.search.browser.width,
                       layout_.search.browser.height);
        if (searchUrl_.empty())
            searchUrl_ =
                catalogue::SearchAddress(servers_.site, SouSuoPic_->SouSuoText()->text().toStdString());
        showPage(PageBuilder::Search, std::string(kSearchKey), searchUrl_, true, HomeWeb_);
        return;
    }
    if (area == HomeCaption) {
        place(HomePic_, layout_.home.panel);
        HomeWeb_->Move(layout_.home.browser.left, layout_.home.browser.top, layout_.home.browser.width,
                       layout_.home.browser.height);
        showPage(PageBuilder::Home, std::string(kHomeKey), servers_.site + "/", false, HomeWeb_);
        return;
    }
    place(GameSStab_, layout_.GameSStab);
    place(BackPic_, layout_.category.panel);
    if (const CatalogueEntry* entry = Catalogue::find(area, subCaption()))
        LoadCategoryPage(std::string(entry->key), Catalogue::storeAddress(servers_.site, *entry));
    else
        Web_->hide();
}

void MainFrm::LoadCategoryPage(const std::string& key, const std::string& storeAddress) {
    emit categoryLoadStarted();
    const TwipsRect& web = layout_.category.browser;
    Web_->Move(web.left, web.top, web.width, web.height);
    showPage(PageBuilder::Category, key, storeAddress, key == kNextPageKey, Web_);
}

void MainFrm::showPage(PageBuilder builder, const std::string& key, const std::string& storeAddress,
                       bool rebuild, WebBrowser* browser) {
    const std::uint64_t request = ++request_;
    std::error_code ec;
    if (!rebuild && fs::exists(Catalogue::pageFile(folders_.data, key), ec)) {
        navigate(browser, key);
        return;
    }
    // No older page stays in view while this one is built; it is shown once built, as long as no
    // later request came in meanwhile. A page built on every visit is shown only as this build wrote
    // it: an older file answered another search or another page of the list.
    browser->hide();
    builds_->build(builder, key, storeAddress, [this, request, browser, key, rebuild](bool written) {
        if (request != request_) return;
        std::error_code ec;
        if (rebuild ? written : fs::exists(Catalogue::pageFile(folders_.data, key), ec))
            navigate(browser, key);
        else
            showUnavailable(browser);
    });
}

int MainFrm::pageBuildsRunning() const {
    return builds_->running();
}

void MainFrm::showUnavailable(WebBrowser* browser) {
    browser->setHtml(qs(UnavailablePage(settings_.webBackColor)));
    browser->show();
}

// A browser that already shows a page stays visible while the next one loads: hiding a web view
// and showing it again costs the engine a new frame, and the user a blink.
void MainFrm::navigate(WebBrowser* browser, const std::string& key) {
    browser->Navigate(qs(Catalogue::pageFile(folders_.data, key).string()));
    browser->show();
    emit pageRequested(qs(key));
    const fs::path paging = Catalogue::pagingFile(folders_.data, key);
    std::error_code ec;
    if (browser == Web_ && fs::exists(paging, ec)) emit pagingFileShown(qs(paging.string()));
}

bool MainFrm::layoutUsable() const {
    return !isMinimized() && layout_.fits();
}

void MainFrm::applyLayout() {
    const int w = base::pixelsToTwips(width());
    const int h = base::pixelsToTwips(height());
    // The frame is drawn inside the window: its inner and outer sizes are the same.
    layout_ = MainLayout::compute(w, h, w);
    if (!layoutUsable()) return;
    place(SStab1_, layout_.SStab1);
    SouSuoPic_->Place(layout_.SouSuoPic, layout_.SouSuoText, layout_.SousuoCmd);
    place(LibraryCmd_, layout_.LibraryCmd);
    placeLibrary();
}

void MainFrm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    applyLayout();
    // The first page comes with the showing; later sizes reload once the border stops moving.
    if (firstPageRequested_ && layoutUsable()) resizeReload_.start();
}

void MainFrm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (firstPageRequested_) return;
    applyLayout();
    LoadPage();
    // Built while the player looks at the first page, so that the button only has to read the
    // library: building the page's controls and styles takes longer than reading 500 apps.
    QTimer::singleShot(LibraryPageBuildDelayMs, this, &MainFrm::buildLibraryPage);
}

void MainFrm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Coming back from minimised: sizes taken meanwhile were not laid out, and the page was not
    // reloaded even when the size stayed.
    if (event->type() != QEvent::WindowStateChange) return;
    applyLayout();
    if (layoutUsable()) resizeReload_.start();
}

void MainFrm::closeEvent(QCloseEvent* event) {
    resizeReload_.stop();
    frameSkin_.reset();
    event->accept();
    emit unloaded();
}
