// The catalogue window against the built appstore: areas and categories, the page cache, resizing,
// a slow store and the context menu.

#include "CatalogueSession.h"
#include "PageScript.h"
#include "SorrelFolder.h"
#include "WaitUntil.h"
#include "catalogue/qt/PagingBar.h"
#include "catalogue/qt/PictureButton.h"
#include "controls/qt/bkDLControlWidget.h"
#include "pages/Catalogue.h"
#include "skin/qt/DirectUI.h"
#include "skin/qt/SSTab.h"
#include "web/qt/WebBrowser.h"

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <set>

namespace fs = std::filesystem;

namespace {

enum MainTab { Home = 0, Games = 1, Video = 2, Music = 3, Life = 4 };

std::string query(std::string_view key) {
    for (const CatalogueEntry& entry : Catalogue::entries())
        if (entry.key == key) return std::string(entry.query);
    return {};
}

int visibleSubTabs(MainFrm& window) {
    int count = 0;
    for (int i = 0; i < window.GameSStab()->tabCount(); ++i)
        count += window.GameSStab()->isTabVisible(i) ? 1 : 0;
    return count;
}

const std::string kCachedPage = "<html><body><p>cached copy</p></body></html>";
const std::string kUnavailableNote = "页面暂时无法打开，请稍后再试。";

// Clicks a main tab that shows its page in Web and waits until key's page has loaded there.
bool openCategory(CatalogueSession& session, int mainTab, const std::string& key) {
    PageWatch watch(*session.window().Web());
    session.clickMainTab(mainTab);
    return watch.waitFor(session.folder().path(), key);
}

// Waits until loads (a browser's DocumentComplete) holds a page that is no file: the note page.
bool waitForNote(QSignalSpy& loads) {
    return waitUntil([&] {
        return std::any_of(loads.begin(), loads.end(),
                           [](const QList<QVariant>& args) { return args.at(0).toUrl().scheme() == "data"; });
    });
}

} // namespace

TEST(CatalogueWindowTest, LoadsWithItsCaptionSizeTabsAndDownloadsAndUnloads) {
    CatalogueSession session;
    session.open();
    MainFrm& window = session.window();
    EXPECT_EQ(window.windowTitle(), "Lumora V1.0");
    EXPECT_EQ(window.size(), QSize(1000, 728));
    ASSERT_EQ(window.SStab1()->tabCount(), 8);
    EXPECT_EQ(window.SStab1()->tabCaption(7).toStdString(), "搜索");
    EXPECT_EQ(window.SStab1()->currentTab(), Home);
    EXPECT_EQ(window.UpDateDown()->FileURL().toStdString(), session.store().site() + "/box/update.html");
    EXPECT_EQ(window.UpDateDown()->SaveFilePath().toStdString(), (session.folder().path() / "").string());
    EXPECT_TRUE(
        waitUntil([&] { return session.store().log().find("GET /box/tj.html") != std::string::npos; }));

    QSignalSpy unloaded(&window, &MainFrm::unloaded);
    window.close();
    EXPECT_EQ(unloaded.count(), 1);
    EXPECT_EQ(window.DirectUI(), nullptr);
}

TEST(CatalogueWindowTest, AreasAndCategoriesShowTheirPagesBuiltFromTheStore) {
    CatalogueSession session;
    session.open();
    auto requests = session.newRequests();
    EXPECT_TRUE(requested(requests, "/")) << "the home page is built from the store's root page";
    EXPECT_TRUE(fs::exists(session.folder().page("HomeAll")));
    EXPECT_TRUE(session.window().HomeWeb()->isVisible());
    EXPECT_FALSE(session.window().Web()->isVisible());

    MainFrm& window = session.window();
    const struct {
        int mainTab, subTab;
        std::string key;
        int subTabsShown;
    } steps[] = {
        {Games, -1, "GameAll", 4}, {Games, 1, "MinGame", 4}, {Video, -1, "VideoAll", 9},
        {Video, 7, "Video8", 9},   {Video, 8, "Video7", 9},  {Music, -1, "Misc", 1},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.key);
        PageWatch watch(*window.Web());
        if (step.subTab < 0)
            session.clickMainTab(step.mainTab);
        else
            session.clickSubTab(step.subTab);
        ASSERT_TRUE(watch.waitFor(session.folder().path(), step.key));
        EXPECT_EQ(session.newRequests(), std::vector<std::string>{"GET " + query(step.key)});
        EXPECT_TRUE(fs::exists(session.folder().page(step.key)));
        EXPECT_TRUE(window.Web()->isVisible());
        EXPECT_FALSE(window.HomeWeb()->isVisible());
        EXPECT_EQ(visibleSubTabs(window), step.subTabsShown);
        EXPECT_FALSE(session.bodyText(*window.Web()).empty());
    }
    EXPECT_EQ(window.GameSStab()->tabCaption(0).toStdString(), "全部");

    // Back home: the page built at the start is cached now.
    PageWatch home(*window.HomeWeb());
    session.clickMainTab(Home);
    ASSERT_TRUE(home.waitFor(session.folder().path(), "HomeAll"));
    EXPECT_TRUE(session.newRequests().empty());
    EXPECT_FALSE(window.GameSStab()->isVisible());
}

TEST(CatalogueWindowTest, CachedPagesShowWithoutStoreAccessAndMissingOnesAreBuilt) {
    CatalogueSession session;
    fs::create_directory(session.folder().html());
    writeFile(session.folder().page("HomeAll"), kCachedPage);
    writeFile(session.folder().page("GameAll"), kCachedPage);
    session.open();
    EXPECT_TRUE(session.newRequests().empty());
    EXPECT_EQ(session.bodyText(*session.window().HomeWeb()), "cached copy");

    ASSERT_TRUE(openCategory(session, Games, "GameAll"));
    EXPECT_TRUE(session.newRequests().empty());
    EXPECT_EQ(session.bodyText(*session.window().Web()), "cached copy");

    // Without its file the same choice fetches and rebuilds the page.
    fs::remove(session.folder().page("GameAll"));
    session.clickMainTab(Video);
    ASSERT_TRUE(openCategory(session, Games, "GameAll"));
    EXPECT_TRUE(requested(session.newRequests(), query("GameAll")));
    EXPECT_NE(session.bodyText(*session.window().Web()), "cached copy");
}

TEST(CatalogueWindowTest, AfterARestartWithTheStoreDownCachedPagesKeepTheStoresStyleSheetAndPictures) {
    CatalogueSession session;
    session.open();
    ASSERT_TRUE(openCategory(session, Games, "GameAll"));
    const QString styled = "getComputedStyle(document.body).paddingLeft == '10px'";
    const QString pictures = "document.images.length > 0 && "
                             "Array.from(document.images).every(i => i.complete && i.naturalWidth > 0)";
    const auto shows = [&](const QString& script) {
        return waitUntil([&] { return session.evaluate(*session.window().Web(), script) == "true"; }, 10000);
    };
    ASSERT_TRUE(shows(styled));
    ASSERT_TRUE(shows(pictures));

    session.store().process().kill(SIGKILL);
    ASSERT_TRUE(session.store().process().wait(std::chrono::seconds(10)));
    session.restart();
    ASSERT_TRUE(openCategory(session, Games, "GameAll"));
    EXPECT_TRUE(shows(styled));
    EXPECT_TRUE(shows(pictures));
}

TEST(CatalogueWindowTest, PagesReachedByPagingAreBuiltOnEveryVisit) {
    CatalogueSession session;
    session.open();
    ASSERT_TRUE(openCategory(session, Games, "GameAll"));
    session.newRequests();
    const std::string second = query("GameAll") + "&page=2";
    for (int visit = 0; visit < 2; ++visit) {
        PageWatch next(*session.window().Web());
        session.window().LoadCategoryPage(std::string(kNextPageKey), session.store().site() + second);
        ASSERT_TRUE(next.waitFor(session.folder().path(), std::string(kNextPageKey)));
        EXPECT_EQ(session.newRequests(), std::vector<std::string>{"GET " + second});
    }
}

TEST(CatalogueWindowTest, ResizingReLaysOutAndReloadsThePageOnceTheSizeSettles) {
    CatalogueSession session;
    session.open();
    MainFrm& window = session.window();
    ASSERT_TRUE(openCategory(session, Games, "GameAll"));

    // Steps well inside the settle time, together far longer than it: the reload waits for the
    // last step, and a busy machine cannot stretch one gap past the settle time.
    constexpr int SettleMs = 1000;
    window.setResizeSettleMs(SettleMs);
    QSignalSpy loads(&window, &MainFrm::pageRequested);
    for (int step = 1; step <= 10; ++step) {
        window.resize(1000 + 20 * step, 728 + 10 * step);
        runEventsFor(SettleMs / 6);
    }
    // The reload of the last step came, and none waits any more.
    ASSERT_TRUE(waitUntil([&] { return !window.reloadPending() && loads.count() > 0; }, 5000));
    EXPECT_EQ(loads.count(), 1) << "one reload once the border stopped, not one per step";
    EXPECT_EQ(loads.at(0).at(0).toString(), "GameAll");
    EXPECT_EQ(window.SStab1()->geometry(),
              QRect(4, 27, (1200 * 15 - 100 + 7) / 15, (828 * 15 - 900 + 7) / 15));
    EXPECT_EQ(window.Web()->parentWidget()->width(), (1200 * 15 - 100 - 120 - 50 + 7) / 15);

    // Minimised: neither layout nor reload, until the window is back.
    window.setResizeSettleMs(100);
    loads.clear();
    window.showMinimized();
    window.resize(900, 700);
    ASSERT_TRUE(waitUntil([&] { return window.isMinimized() && window.width() == 900; }, 5000));
    QCoreApplication::sendPostedEvents(); // the resize has reached the window
    EXPECT_FALSE(window.reloadPending());
    EXPECT_EQ(loads.count(), 0);
    window.showNormal();
    EXPECT_TRUE(loads.wait(5000));
    EXPECT_EQ(window.SStab1()->width(), (window.width() * 15 - 100 + 7) / 15);
}

TEST(CatalogueWindowTest, AfterAMinimiseNobodyCarriedOutTheWindowGoesOnShowingPages) {
    CatalogueSession session;
    session.open();
    MainFrm& window = session.window();
    QSignalSpy loads(&window, &MainFrm::pageRequested);
    // The offscreen screen, like a display without a window manager, leaves the window on screen.
    window.DirectUI()->minimise();
    ASSERT_TRUE(waitUntil([&] { return !window.isMinimized(); }, 5000));
    // The reload may come in the same round of events as the state.
    EXPECT_TRUE(waitUntil([&] { return loads.count() > 0; }, 5000))
        << "the page is reloaded once the window is back";
    ASSERT_TRUE(openCategory(session, Games, "GameAll"));

    // Maximised straight after a minimise: laid out and reloaded at the new size.
    window.DirectUI()->minimise();
    window.DirectUI()->toggleMaximised();
    EXPECT_EQ(window.windowState(), Qt::WindowMaximized);
    PageWatch again(*window.Web());
    ASSERT_TRUE(again.waitFor(session.folder().path(), "GameAll"));
    EXPECT_EQ(window.SStab1()->width(), (window.width() * 15 - 100 + 7) / 15);
}

TEST(CatalogueWindowTest, WithASlowStoreTheWindowStaysLiveAndTheLastClickWins) {
    CatalogueSession session({"--delay-ms", "700"});
    fs::create_directory(session.folder().html());
    writeFile(session.folder().page("HomeAll"), kCachedPage);
    session.open();
    MainFrm& window = session.window();
    PageWatch web(*window.Web());
    QSignalSpy requested(&window, &MainFrm::pageRequested);

    session.clickMainTab(Games);
    session.clickMainTab(Video);
    // While both pages are still on their way, the window goes on working: another tab shows at once.
    session.clickMainTab(Home);
    EXPECT_EQ(session.bodyText(*window.HomeWeb()), "cached copy");
    session.clickMainTab(Life);
    ASSERT_TRUE(web.waitFor(session.folder().path(), "LifeAll"));
    // The older builds have ended once their pages are in the cache: a build installs its page and
    // reports its end in one step on the window's thread.
    ASSERT_TRUE(waitUntil(
        [&] {
            return fs::exists(session.folder().page("GameAll")) &&
                   fs::exists(session.folder().page("VideoAll"));
        },
        20000));

    EXPECT_EQ(web.loaded(), std::vector<std::string>{"LifeAll.html"});
    EXPECT_EQ(requested.count(), 2); // HomeAll, then LifeAll
    EXPECT_EQ(window.SStab1()->currentTab(), Life);
    EXPECT_TRUE(window.Web()->isVisible());
    // The pages left behind were still built, for the next visit.
    EXPECT_TRUE(fs::exists(session.folder().page("GameAll")));
    EXPECT_TRUE(fs::exists(session.folder().page("VideoAll")));
}

TEST(CatalogueWindowTest, RightClickOnAPageOpensNoContextMenu) {
    CatalogueSession session;
    session.open();
    ASSERT_TRUE(rightClickReachesPage(*session.window().HomeWeb(), QPoint(200, 200)));
    for (QWidget* widget : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<QMenu*>(widget) && widget->isVisible());
}

TEST(CatalogueWindowTest, WithTheStoreDownAPageThatCannotBeBuiltShowsANoteNeitherAnOldAnswerNorAMissingFile) {
    CatalogueSession session;
    session.open();
    MainFrm& window = session.window();
    ASSERT_TRUE(openCategory(session, Games, "GameAll"));
    PageWatch second(*window.Web());
    window.LoadCategoryPage(std::string(kNextPageKey), session.store().site() + query("GameAll") + "&page=2");
    ASSERT_TRUE(second.waitFor(session.folder().path(), std::string(kNextPageKey)));
    QTRY_VERIFY(window.pagingBar()->PagePic(0)->isVisible());
    PageWatch results(*window.HomeWeb());
    window.Search("game");
    ASSERT_TRUE(results.waitFor(session.folder().path(), std::string(kSearchKey)));

    session.store().process().kill(SIGKILL);
    ASSERT_TRUE(session.store().process().wait(std::chrono::seconds(10)));
    const auto files = [&] {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(session.folder().html()))
            names.insert(entry.path().filename().string());
        return names;
    };
    const auto cached = files();

    // A new search shows the note, not the earlier search's results.
    QSignalSpy homeLoads(window.HomeWeb(), &WebBrowser::DocumentComplete);
    window.Search("other");
    ASSERT_TRUE(waitForNote(homeLoads));
    EXPECT_EQ(session.bodyText(*window.HomeWeb()), kUnavailableNote);
    EXPECT_TRUE(window.HomeWeb()->isVisible());
    const QColor pageColour(QString::fromStdString(window.settings().webBackColor));
    EXPECT_EQ(session.evaluate(*window.HomeWeb(), "getComputedStyle(document.body).backgroundColor"),
              QString("rgb(%1, %2, %3)")
                  .arg(pageColour.red())
                  .arg(pageColour.green())
                  .arg(pageColour.blue())
                  .toStdString());

    // Another page of the list: the note, without the old page's bar.
    ASSERT_TRUE(openCategory(session, Games, "GameAll"));
    QSignalSpy webLoads(window.Web(), &WebBrowser::DocumentComplete);
    window.LoadCategoryPage(std::string(kNextPageKey), session.store().site() + query("GameAll") + "&page=3");
    ASSERT_TRUE(waitForNote(webLoads));
    EXPECT_EQ(session.bodyText(*window.Web()), kUnavailableNote);
    EXPECT_FALSE(window.pagingBar()->PagePic(0)->isVisible());

    // A category never built: the note instead of a missing file.
    webLoads.clear();
    session.clickMainTab(Video);
    ASSERT_TRUE(waitForNote(webLoads));
    EXPECT_EQ(session.bodyText(*window.Web()), kUnavailableNote);
    EXPECT_TRUE(window.Web()->isVisible());
    EXPECT_EQ(files(), cached) << "the note leaves the page cache alone";
}
