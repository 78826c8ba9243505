// Opening apps from the catalogue window against the built appstore: a click on an app link in a
// category page opens the viewer, which downloads and plays a movie app or shows a page app, and
// reloads, goes full screen and back, and is replaced by the next app. Screenshots of the viewer go
// to viewer-shots/ in the test's build folder.

#include "CatalogueSession.h"
#include "WaitUntil.h"
#include "catalogue/qt/WindowNote.h"
#include "controls/qt/bkDLControlWidget.h"
#include "controls/qt/ucProgressBarWidget.h"
#include "pages/RedirectTarget.h"
#include "skin/qt/SSTab.h"
#include "viewer/MovieDownload.h"
#include "viewer/qt/AppOpener.h"
#include "viewer/qt/FlashPlayer.h"
#include "viewer/qt/PlayerGroup.h"
#include "viewer/qt/PlayerSchemeHandler.h"
#include "web/qt/WebBrowser.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineScript>
#include <csignal>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

const bool schemeRegistered = (PlayerSchemeHandler::registerScheme(), true);

enum MainTab { Games = 1 };
enum ViewerTab { Reload = 3, FullScreen = 4 };

struct AppLink {
    std::string href;
    QRect rect; // in the browser
};

// The app links of the page a browser shows, with where they are.
std::vector<AppLink> appLinks(WebBrowser& browser) {
    QJsonArray found;
    bool done = false;
    browser.page()->runJavaScript("Array.from(document.querySelectorAll('a[target=_blank]')).map(a => { "
                                  "const r = a.getBoundingClientRect();"
                                  " return {href: a.href, x: r.x, y: r.y, w: r.width, h: r.height}; })",
                                  QWebEngineScript::ApplicationWorld, [&](const QVariant& value) {
                                      found = value.toJsonArray();
                                      done = true;
                                  });
    waitUntil([&] { return done; }, 10000);
    std::vector<AppLink> links;
    for (const auto& item : found) {
        const QJsonObject o = item.toObject();
        if (o["w"].toDouble() < 4 || o["h"].toDouble() < 4) continue;
        links.push_back({o["href"].toString().toStdString(),
                         QRect(o["x"].toInt(), o["y"].toInt(), o["w"].toInt(), o["h"].toInt())});
    }
    return links;
}

// The first shown link whose entry page is (or is not) a widget page.
AppLink firstLink(WebBrowser& browser, const std::string& site, bool widget) {
    for (const AppLink& link : appLinks(browser)) {
        const bool isWidget = ReadRedirectTarget(link.href).find(site + "/widget/") != std::string::npos;
        if (isWidget == widget && browser.rect().contains(link.rect.center())) return link;
    }
    return {};
}

void click(WebBrowser& browser, const AppLink& link) {
    QWidget* surface = browser.focusProxy() ? browser.focusProxy() : &browser;
    QTest::mouseClick(surface, Qt::LeftButton, {}, link.rect.center());
}

void clickTab(FlashPayFrm& viewer, int tab) {
    QTest::mouseClick(viewer.GameSStabs(), Qt::LeftButton, {}, QPoint(tab * 150 + 75, 15));
}

bool sameImage(const QImage& a, const QImage& b) {
    return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

void shoot(QWidget& widget, const char* name) {
    QDir().mkpath(QStringLiteral(VIEWER_SHOTS));
    widget.grab().save(QStringLiteral(VIEWER_SHOTS "/%1.png").arg(name));
}

// Whether the widget shows a picture: more than one colour in its middle. frame receives what it
// shows.
bool showsPicture(QWidget& widget, QImage& frame) {
    frame = widget.grab().toImage();
    const QRgb corner = frame.pixel(frame.width() / 4, frame.height() / 4);
    for (int y = frame.height() / 4; y < frame.height() * 3 / 4; y += 8)
        for (int x = frame.width() / 4; x < frame.width() * 3 / 4; x += 8)
            if (frame.pixel(x, y) != corner) return true;
    return false;
}

// The movie has loaded and a frame of it shows; first, when given, receives that frame.
bool drawsMovie(FlashPlayer& player, QImage* first = nullptr) {
    if (!waitUntil([&] { return player.isMovieLoaded(); }, 60000)) return false;
    QImage frame;
    if (!waitUntil([&] { return showsPicture(player, frame); }, 20000)) return false;
    if (first) *first = frame;
    return true;
}

// The movie's frames show and change.
bool playsFrames(FlashPlayer& player) {
    QImage first;
    if (!drawsMovie(player, &first)) return false;
    return waitUntil([&] { return !sameImage(player.grab().toImage(), first); }, 10000);
}

class ViewerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(schemeRegistered);
        session.open();
        opener = std::make_unique<AppOpener>(session.folder().path(), session.window().settings(),
                                             session.store().site(), session.web(), players);
        QObject::connect(&session.window(), &MainFrm::appLinkClicked, opener.get(), &AppOpener::open);
        QObject::connect(&session.window(), &MainFrm::unloaded, opener.get(), &AppOpener::closeViewer);
        QObject::connect(opener.get(), &AppOpener::notOpened, &session.window(), &MainFrm::ShowNote);
        PageWatch games(*session.window().Web());
        session.clickMainTab(Games);
        ASSERT_TRUE(games.waitFor(session.folder().path(), "GameAll"));
    }
    // Clicks link in the category page and waits for the viewer it opens. What the viewer shows
    // the moment it opens, and its downloads from then on, are recorded before any event runs.
    FlashPayFrm* open(const AppLink& link) {
        FlashPayFrm* shown = nullptr;
        const auto watch = QObject::connect(opener.get(), &AppOpener::opened, [&](FlashPayFrm* viewer) {
            shown = viewer;
            barShownAtOpen = viewer->N1()->isVisible();
            downloads = std::make_unique<QSignalSpy>(viewer->Down(), &bkDLControlWidget::DLComplete);
        });
        click(*session.window().Web(), link);
        waitUntil([&] { return shown != nullptr; }, 20000);
        QObject::disconnect(watch);
        return shown;
    }
    // Waits for the count-th end of a download (1 for the first) of the viewer opened last.
    bool downloadEnded(int count) {
        return waitUntil([&] { return downloads->count() >= count; }, 20000);
    }
    int downloadedBytes(int index) const { return downloads->value(index).value(0).toInt(); }
    bool movieRequested() {
        for (const std::string& request : session.newRequests())
            if (request.find("/widget/swf/") != std::string::npos) return true;
        return false;
    }

    CatalogueSession session;
    PlayerGroup players;
    std::unique_ptr<AppOpener> opener;
    bool barShownAtOpen = false;
    std::unique_ptr<QSignalSpy> downloads;
};

} // namespace

TEST_F(ViewerTest, AMovieAppDownloadsWithTheBarAndPlaysThenPlaysAtOnce) {
    const AppLink link = firstLink(*session.window().Web(), session.store().site(), true);
    ASSERT_FALSE(link.href.empty());
    session.newRequests();
    FlashPayFrm* viewer = open(link);
    ASSERT_TRUE(viewer);
    EXPECT_TRUE(opener->current().IsWidgetApp);
    EXPECT_FALSE(viewer->windowTitle().isEmpty());
    EXPECT_EQ(viewer->GameSStabs()->tabCaption(0), viewer->windowTitle());
    EXPECT_TRUE(barShownAtOpen);
    ASSERT_TRUE(downloadEnded(1));
    EXPECT_GT(downloadedBytes(0), 0);
    EXPECT_FALSE(viewer->N1()->isVisible());
    EXPECT_TRUE(fs::exists(viewer->moviePath().toStdString()));
    ASSERT_TRUE(playsFrames(*viewer->flash()));
    shoot(*viewer, "movie-playing");
    EXPECT_TRUE(movieRequested());

    // Closed and opened again: plays at once from Game.
    viewer->close();
    viewer = open(link);
    ASSERT_TRUE(viewer);
    EXPECT_FALSE(barShownAtOpen);
    EXPECT_TRUE(playsFrames(*viewer->flash()));
    EXPECT_FALSE(movieRequested());

    // Reload starts it again from the file; full screen and back.
    clickTab(*viewer, Reload);
    EXPECT_EQ(viewer->GameSStabs()->currentTab(), 0);
    EXPECT_TRUE(playsFrames(*viewer->flash()));
    EXPECT_FALSE(movieRequested());
    clickTab(*viewer, FullScreen);
    EXPECT_TRUE(viewer->fullScreen());
    EXPECT_EQ(viewer->GameSStabs()->geometry(), viewer->rect());
    EXPECT_EQ(viewer->GameSStabs()->tabCaption(FullScreen), QStringLiteral("退出全屏"));
    EXPECT_TRUE(playsFrames(*viewer->flash())) << "at its new size";
    shoot(*viewer, "movie-full-screen");
    clickTab(*viewer, FullScreen);
    EXPECT_FALSE(viewer->fullScreen());
    EXPECT_EQ(viewer->size(), QSize(1000, 728));
    EXPECT_EQ(viewer->GameSStabs()->tabCaption(FullScreen), QStringLiteral("全屏应用"));

    // Closing the catalogue window closes the viewer.
    QPointer<FlashPayFrm> last = viewer;
    session.window().close();
    waitUntil([&] { return last.isNull() || !last->isVisible(); }, 5000);
    EXPECT_TRUE(last.isNull() || !last->isVisible());
}

TEST_F(ViewerTest, APageAppShowsItsCanvasOnceReadyAndASecondAppReplacesTheFirst) {
    const AppLink movie = firstLink(*session.window().Web(), session.store().site(), true);
    const AppLink page = firstLink(*session.window().Web(), session.store().site(), false);
    ASSERT_FALSE(page.href.empty());
    QPointer<FlashPayFrm> first = open(movie);
    ASSERT_TRUE(first);

    FlashPayFrm* viewer = open(page);
    ASSERT_TRUE(viewer);
    EXPECT_NE(viewer, first.data());
    waitUntil([&] { return first.isNull(); }, 5000);
    EXPECT_TRUE(first.isNull());
    EXPECT_FALSE(opener->current().IsWidgetApp);
    EXPECT_NE(opener->current().CurrentApp.ContentUrl.find("canvas"), std::string::npos);
    ASSERT_TRUE(waitUntil([&] { return viewer->pageReady(); }, 30000));
    EXPECT_TRUE(viewer->AppPic()->isVisible());
    EXPECT_FALSE(session.bodyText(*viewer->AppWeb()).empty());
    QImage shown;
    EXPECT_TRUE(waitUntil([&] { return showsPicture(*viewer->AppWeb(), shown); }, 20000));
    shoot(*viewer, "page-app");

    // Reload keeps the page shown while it loads again.
    QSignalSpy loaded(viewer->AppWeb(), &WebBrowser::DocumentComplete);
    clickTab(*viewer, Reload);
    EXPECT_EQ(viewer->GameSStabs()->currentTab(), 0);
    EXPECT_TRUE(viewer->AppPic()->isVisible());
    EXPECT_TRUE(loaded.wait(20000));
}

TEST_F(ViewerTest, AFailedDownloadLeavesTheBarAndReloadRetries) {
    const AppLink link = firstLink(*session.window().Web(), session.store().site(), true);
    // A folder where the movie is saved makes the download fail.
    const auto place =
        viewer::moviePlaceOf(viewer::OpenedApp::read(link.href, session.store().site()).CurrentApp);
    ASSERT_TRUE(place);
    const fs::path movie = session.folder().path() / "Game" / place->movieFile();
    ASSERT_TRUE(fs::create_directories(movie));
    FlashPayFrm* viewer = open(link);
    ASSERT_TRUE(viewer);
    ASSERT_TRUE(downloadEnded(1));
    EXPECT_EQ(downloadedBytes(0), 0);
    EXPECT_TRUE(viewer->N1()->isVisible());
    EXPECT_FALSE(viewer->flash()->isMovieLoaded());
    shoot(*viewer, "movie-failed");

    fs::remove(movie);
    clickTab(*viewer, Reload);
    EXPECT_TRUE(viewer->N1()->isVisible());
    ASSERT_TRUE(downloadEnded(2));
    EXPECT_GT(downloadedBytes(1), 0);
    EXPECT_FALSE(viewer->N1()->isVisible());
    EXPECT_TRUE(playsFrames(*viewer->flash()));
}

TEST_F(ViewerTest, WithTheStoreAwayAMovieAppOpenedBeforePlaysAndAnyOtherShowsANoteUntilItIsBack) {
    const AppLink movie = firstLink(*session.window().Web(), session.store().site(), true);
    const AppLink page = firstLink(*session.window().Web(), session.store().site(), false);
    ASSERT_FALSE(page.href.empty());
    FlashPayFrm* viewer = open(movie);
    ASSERT_TRUE(viewer);
    ASSERT_TRUE(drawsMovie(*viewer->flash()));
    const QString caption = viewer->windowTitle();
    viewer->close();

    session.store().process().kill(SIGKILL);
    session.store().process().wait(std::chrono::seconds(10));
    viewer = open(movie);
    ASSERT_TRUE(viewer);
    EXPECT_EQ(opener->current().outcome, viewer::OpenedApp::Outcome::Kept);
    EXPECT_EQ(viewer->windowTitle(), caption);
    EXPECT_FALSE(viewer->GameInfo()->toPlainText().trimmed().isEmpty());
    EXPECT_FALSE(barShownAtOpen);
    EXPECT_TRUE(drawsMovie(*viewer->flash()));
    shoot(*viewer, "movie-offline");

    QSignalSpy opened(opener.get(), &AppOpener::opened);
    WindowNote* note = session.window().note();
    click(*session.window().Web(), page);
    ASSERT_TRUE(waitUntil([&] { return note->isVisible(); }, 10000));
    EXPECT_EQ(note->text(), AppOpener::UnreachableNote);
    EXPECT_EQ(opened.count(), 0);
    EXPECT_EQ(opener->viewer(), viewer) << "the shown app stays";
    session.window().grab().save(QStringLiteral(VIEWER_SHOTS "/store-unreachable.png"));

    // The store back on its address: the page app opens, no restart needed.
    StoreProcess again({"--port", std::to_string(session.store().port())});
    viewer = open(page);
    ASSERT_TRUE(viewer);
    EXPECT_EQ(opener->current().outcome, viewer::OpenedApp::Outcome::Read);
    EXPECT_TRUE(waitUntil([&] { return viewer->pageReady(); }, 30000));
}
