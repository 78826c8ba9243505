#include "viewer/qt/FlashPayFrm.h"

#include "LoopbackServer.h"
#include "PageScript.h"
#include "TempDir.h"
#include "WaitUntil.h"
#include "controls/qt/bkDLControlWidget.h"
#include "controls/qt/ucProgressBarWidget.h"
#include "skin/qt/SSTab.h"
#include "viewer/MovieDownload.h"
#include "viewer/TestMovie.h"
#include "viewer/qt/FlashPlayer.h"
#include "viewer/qt/PlayerGroup.h"
#include "viewer/qt/PlayerSchemeHandler.h"
#include "viewer/qt/ReadyPlayer.h"
#include "web/qt/WebBrowser.h"
#include "web/qt/WebProfiles.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <atomic>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using viewer::OpenedApp;

namespace {

const bool schemeRegistered = (PlayerSchemeHandler::registerScheme(), true);

// A store that serves one movie and one page app. The movie flows against the real store are in
// tests/e2e/ViewerTest.cpp.
class Store {
  public:
    Store() {
        server.routes().Get("/swf/(.*)", [this](const httplib::Request& req, httplib::Response& res) {
            ++movieRequests;
            if (req.matches[1] == "broken.swf") {
                res.set_content("this is no movie", "application/x-shockwave-flash");
                return;
            }
            // Names longer than a file name may be (255 bytes) are the square too.
            if (req.matches[1] != "square.swf" && req.matches[1].length() <= 255) {
                res.status = 404;
                return;
            }
            res.set_content(testMovie(), "application/x-shockwave-flash");
        });
        server.routes().Get("/canvas/1.html", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(
                "<html><body style='background:#0a0'><iframe src='/inner.html'></iframe></body></html>",
                "text/html");
        });
        server.routes().Get("/inner.html", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("<html><body>inner</body></html>", "text/html");
        });
        // A page app that takes the name of the last key pressed as its title.
        server.routes().Get("/canvas/keys.html", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(
                "<body><script>document.addEventListener('keydown', e => document.title = e.code);"
                "</script></body>",
                "text/html");
        });
        server.start();
    }
    LoopbackServer server;
    std::atomic<int> movieRequests = 0;
};

class FlashPayFrmTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(schemeRegistered);
        const fs::path built = qEnvironmentVariable("BRINDLE_APP_DIR").toStdString();
        fs::create_directory_symlink(built / "player", app.path() / "player");
        fs::create_directory_symlink(built / "Skin", app.path() / "Skin");
        fs::create_directory(app.path() / "Game");
        settings.skinName = "Default";
    }
    OpenedApp movieApp(const std::string& file = "square.swf") const {
        OpenedApp opened;
        opened.IsWidgetApp = true;
        opened.CurrentApp.Name = "方块";
        opened.CurrentApp.ContentUrl = store.server.url("/swf/" + file);
        opened.CurrentApp.MovieFile = file;
        opened.CurrentApp.Description = "第一行\r\n第二行     ";
        opened.CurrentApp.Developer = "提供商：\r\n     Brindle Games\r\n";
        return opened;
    }
    OpenedApp pageApp() const {
        OpenedApp opened;
        opened.CurrentApp.Name = "Canvas";
        opened.CurrentApp.ContentUrl = store.server.url("/canvas/1.html");
        opened.Link = store.server.url("/app/1");
        return opened;
    }
    FlashPayFrm* open(const OpenedApp& opened) {
        auto* window = new FlashPayFrm(settings, app.path(), web, players);
        window->load(opened);
        windows.emplace_back(window);
        window->show();
        return window;
    }
    // Opens the page app that takes the code of the last key pressed as its title and waits until
    // keys reach it. The offscreen platform drops the keys sent to a page in its first moments
    // (under X they arrive: tools/brindleflows/screenshots.sh, flow "keys"), so Shift is pressed
    // until one has arrived.
    FlashPayFrm* openKeysPage() {
        OpenedApp keys = pageApp();
        keys.CurrentApp.ContentUrl = store.server.url("/canvas/keys.html");
        FlashPayFrm* w = open(keys);
        if (!waitUntil([&] { return w->pageReady(); }, 30000)) return nullptr;
        for (int tries = 0; tries < 30; ++tries) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Shift);
            if (waitUntil([&] { return w->AppWeb()->title() == QLatin1String("ShiftLeft"); }, 300)) return w;
        }
        return nullptr;
    }
    void TearDown() override {
        for (auto& window : windows)
            delete window;
    }

    TempDir app;
    WebProfiles web{app.path()};
    PlayerGroup players;
    Store store;
    Settings settings = defaultSettings();
    std::vector<QPointer<FlashPayFrm>> windows;
};

} // namespace

TEST_F(FlashPayFrmTest, OpensWithTheAppsTextsTabsAndLayout) {
    FlashPayFrm* w = open(movieApp("none.swf"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("方块"));
    EXPECT_EQ(w->size(), QSize(1000, 728));
    const QStringList captions{"方块", "应用介绍", "应用来源", "重载应用", "全屏应用"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(w->GameSStabs()->tabCaption(i), captions[i]);
    EXPECT_EQ(w->GameSStabs()->currentTab(), 0);
    EXPECT_EQ(w->GameSStabs()->tabHeightTwips(), 1000);
    EXPECT_EQ(w->GameSStabs()->geometry(), QRect(4, 31, 994, 668));
    EXPECT_EQ(w->Frm()->title(), QStringLiteral("方块介绍："));
    EXPECT_EQ(w->GameSour()->title(), QStringLiteral("方块来源："));
    EXPECT_EQ(w->GameInfo()->toPlainText(), QStringLiteral("第一行\n第二行     "));
    EXPECT_EQ(w->GameInfo()->palette().color(QPalette::Base), QColor(225, 234, 246));
    EXPECT_EQ(w->N1()->Max(), 100);
    EXPECT_EQ(w->N1()->CaptionFormat(), 2);
    EXPECT_EQ(w->N1()->size(), QSize(287, 29));
    EXPECT_EQ(w->N1()->geometry(), QRect(357, 350, 287, 29)); // centred
    EXPECT_EQ(w->flash()->geometry(), QRect(2, 33, 986, 635));

    w->GameSStabs()->setCurrentTab(1);
    EXPECT_EQ(w->Frm()->geometry(), QRect(6, 33, 986, 635));
    EXPECT_EQ(w->GameInfo()->geometry(), QRect(27, 27, 933, 588));
    w->GameSStabs()->setCurrentTab(2);
    EXPECT_EQ(w->GameSour()->geometry(), QRect(6, 33, 986, 635));
    EXPECT_TRUE(w->GameLY()->isVisibleTo(w));
}

TEST_F(FlashPayFrmTest, AViewPreparedAheadIsTheOneLoadShowsAndSuitsOnlyItsKind) {
    const OpenedApp movie = movieApp("none.swf");
    const OpenedApp canvas = pageApp();
    auto* w = new FlashPayFrm(settings, app.path(), web, players);
    windows.emplace_back(w);
    EXPECT_TRUE(w->suits(movie));
    EXPECT_TRUE(w->suits(canvas));
    w->prepareAppView(true, movie.Link);
    FlashPlayer* prepared = w->flash();
    ASSERT_NE(prepared, nullptr);
    w->prepareAppView(false, canvas.Link); // a view is built already
    EXPECT_EQ(w->AppWeb(), nullptr);
    EXPECT_TRUE(w->suits(movie));
    EXPECT_FALSE(w->suits(canvas));
    w->load(movie);
    w->show();
    EXPECT_EQ(w->flash(), prepared);
    EXPECT_EQ(w->flash()->geometry(), QRect(2, 33, 986, 635));

    // A page app's browsers run on its own profile: another page app needs another window.
    auto* page = new FlashPayFrm(settings, app.path(), web, players);
    windows.emplace_back(page);
    page->prepareAppView(false, canvas.Link);
    ASSERT_NE(page->AppWeb(), nullptr);
    EXPECT_EQ(page->AppWeb()->page()->profile(), web.pageApp(canvas.Link));
    EXPECT_FALSE(page->suits(movie));
    EXPECT_TRUE(page->suits(canvas));
    OpenedApp other = canvas;
    other.Link = store.server.url("/app/2");
    EXPECT_FALSE(page->suits(other));
}

// A viewer replaced by another app gives its player back while its movie may still be downloading.
TEST_F(FlashPayFrmTest, AMovieThatArrivesAfterThePlayerWentBackIsKeptAndNotPlayed) {
    ReadyPlayer ready(players,
                      viewer::PlayerFiles{app.path() / "player", app.path() / "Game", app.path() / "Saves"});
    auto* w = new FlashPayFrm(settings, app.path(), web, players, &ready);
    windows.emplace_back(w);
    w->load(movieApp());
    QSignalSpy downloaded(w->Down(), &bkDLControlWidget::DLComplete);
    ASSERT_TRUE(w->Down()->control().downloading());
    w->releasePlayer();
    ASSERT_TRUE(waitUntil([&] { return downloaded.count() > 0; }, 30000));
    EXPECT_GT(downloaded.at(0).at(0).toInt(), 0);
    EXPECT_EQ(w->flash(), nullptr);
    EXPECT_TRUE(fs::is_regular_file(w->moviePath().toStdString()));
}

// An earlier version kept the movie directly in Game and its saves in Saves/<movie name>/: both are
// taken over (off the window's thread) before the movie is looked for, so it plays without a
// download, and before its saves are read, so they are read from the movie's folder of now.
TEST_F(FlashPayFrmTest, WhatAnEarlierVersionKeptIsTakenOverBeforeTheMovieStarts) {
    const fs::path earlierSaves = app.path() / "Saves" / "square.swf";
    fs::create_directories(earlierSaves);
    std::ofstream(earlierSaves / "best.sol") << "kept";
    std::ofstream(app.path() / "Game" / "square.swf", std::ios::binary) << testMovie();
    FlashPayFrm* w = open(movieApp());
    ASSERT_TRUE(waitUntil([&] { return w->flash() && w->flash()->isMovieLoaded(); }, 30000));
    EXPECT_EQ(store.movieRequests, 0);
    const auto place = viewer::moviePlaceOf(movieApp().CurrentApp);
    ASSERT_TRUE(place);
    // The start's read met the file in the movie's folder of now (and, as it is no Flash save, set
    // it aside there).
    EXPECT_TRUE(fs::is_regular_file(app.path() / "Saves" / place->savesName() / "rejected" / "best.sol"));
    EXPECT_FALSE(fs::exists(earlierSaves));
}

// A store page may name a movie longer than the file system takes a name (300 Latin letters, or 86
// Chinese characters of 3 bytes each): the movie is kept under a shorter name and plays.
TEST_F(FlashPayFrmTest, MovieNamesLongerThanAFileNamePlay) {
    std::string chinese;
    for (int i = 0; i < 86; ++i)
        chinese += "游";
    for (const std::string& name : {std::string(300, 'a') + ".swf", chinese + ".swf"}) {
        FlashPayFrm* w = open(movieApp(name));
        ASSERT_TRUE(waitUntil([&] { return w->flash() && w->flash()->isMovieLoaded(); }, 30000)) << name;
        EXPECT_LE(fs::path(w->moviePath().toStdString()).filename().string().size(), 255u);
        EXPECT_FALSE(w->movieFailed());
        delete w;
    }
}

TEST_F(FlashPayFrmTest, UnusableMovieNamesOpenWithoutAMovie) {
    for (const char* name : {"..", ".", "", "a\\..\\x.swf", "a\x01.swf"}) {
        FlashPayFrm* w = open(movieApp(name));
        EXPECT_TRUE(w->moviePath().isEmpty()) << name;
        EXPECT_FALSE(w->N1()->isVisible()) << name;
        w->GameSStabs()->setCurrentTab(3);
        EXPECT_FALSE(w->N1()->isVisible()) << name;
        // Neither the start nor the reload asked the download control for anything.
        EXPECT_TRUE(w->Down()->FileURL().isEmpty()) << name;
        EXPECT_FALSE(w->Down()->control().downloading()) << name;
        delete w;
    }
    EXPECT_EQ(store.movieRequests, 0);
    EXPECT_TRUE(fs::is_empty(app.path() / "Game"));
}

TEST_F(FlashPayFrmTest, APageAppShowsItsFrameOnceReadyStaysOffLocalFilesAndKeepsItOnReload) {
    FlashPayFrm* w = open(pageApp());
    EXPECT_FALSE(w->AppPic()->isVisible());
    EXPECT_FALSE(w->ADPic()->isVisible());
    EXPECT_EQ(w->flash(), nullptr); // a page app has no player
    EXPECT_EQ(w->AppPic()->geometry(), QRect(6, 33, 986, 635));
    EXPECT_EQ(w->AppWeb()->geometry(), QRect(-2, -6, 988, 641));
    ASSERT_TRUE(waitUntil([&] { return w->pageReady(); }, 30000));
    EXPECT_TRUE(w->AppPic()->isVisible());
    EXPECT_TRUE(w->AppWeb()->isVisible());
    EXPECT_FALSE(w->ADPic()->isVisible());

    // The app's view never goes to a local file. A load of one is refused and ends as a failed
    // load; a script's navigation to one is refused while the script runs, by the page's renderer
    // or, once it has asked the view, as a load that ends.
    QSignalSpy asked(w->AppWeb(), &WebBrowser::BeforeNavigate2);
    QSignalSpy ended(w->AppWeb(), &WebBrowser::DownloadComplete);
    w->AppWeb()->Navigate(QString::fromStdString((app.path() / "Game").string()));
    ASSERT_TRUE(waitUntil([&] { return ended.count() > 0; }, 10000));
    EXPECT_EQ(w->AppWeb()->url().scheme(), QStringLiteral("http"));
    ASSERT_TRUE(
        evaluate(*w->AppWeb()->page(), QStringLiteral("location.href = 'file:///etc/hosts'; true")).toBool());
    ASSERT_TRUE(waitUntil([&] { return ended.count() == asked.count(); }, 10000));
    EXPECT_EQ(w->AppWeb()->url().scheme(), QStringLiteral("http"));

    QSignalSpy loaded(w->AppWeb(), &WebBrowser::DocumentComplete);
    w->GameSStabs()->setCurrentTab(3);
    EXPECT_EQ(w->GameSStabs()->currentTab(), 0);
    EXPECT_TRUE(w->AppPic()->isVisible());
    EXPECT_TRUE(loaded.wait(30000));
}

TEST_F(FlashPayFrmTest, FullScreenAndBack) {
    FlashPayFrm* w = open(movieApp("none.swf"));
    const QRect normal = w->geometry();
    w->GameSStabs()->setCurrentTab(4);
    EXPECT_EQ(w->GameSStabs()->currentTab(), 0);
    EXPECT_EQ(w->GameSStabs()->tabCaption(4), QStringLiteral("退出全屏"));
    EXPECT_TRUE(w->fullScreen());
    EXPECT_TRUE(w->isMaximized());
    EXPECT_EQ(w->GameSStabs()->geometry(), QRect(QPoint(0, 0), w->size()));

    w->GameSStabs()->setCurrentTab(4);
    EXPECT_EQ(w->GameSStabs()->currentTab(), 0);
    EXPECT_EQ(w->GameSStabs()->tabCaption(4), QStringLiteral("全屏应用"));
    EXPECT_FALSE(w->fullScreen());
    EXPECT_FALSE(w->isMaximized());
    EXPECT_EQ(w->geometry(), normal);
    EXPECT_EQ(w->GameSStabs()->geometry(), QRect(4, 31, 994, 668));
}

// The app's tab bears the app's name; a name that is another tab's caption changes nothing: its
// tab shows the movie, not started again, laid out as any app's in and out of full screen.
TEST_F(FlashPayFrmTest, AnAppNamedLikeAnotherTabShowsItselfOnItsOwnTab) {
    QRect fullScreenPlayer;
    for (const char* name : {"方块", "重载应用", "全屏应用", "退出全屏", "应用介绍", "应用来源"}) {
        OpenedApp named = movieApp();
        named.CurrentApp.Name = name;
        FlashPayFrm* w = open(named);
        ASSERT_TRUE(waitUntil([&] { return w->flash()->isMovieLoaded(); }, 30000)) << name;
        w->GameSStabs()->setCurrentTab(1);
        w->GameSStabs()->setCurrentTab(0);
        EXPECT_EQ(w->GameSStabs()->tabCaption(0), QString::fromUtf8(name));
        EXPECT_EQ(w->GameSStabs()->tabCaption(4), QStringLiteral("全屏应用")) << name;
        EXPECT_FALSE(w->fullScreen()) << name;
        EXPECT_TRUE(w->flash()->isMovieLoaded()) << name; // not started again
        EXPECT_TRUE(w->flash()->isVisible()) << name;
        EXPECT_EQ(w->flash()->geometry(), QRect(2, 33, 986, 635)) << name;

        w->GameSStabs()->setCurrentTab(4);
        ASSERT_TRUE(w->fullScreen()) << name;
        w->GameSStabs()->setCurrentTab(1);
        w->GameSStabs()->setCurrentTab(0);
        EXPECT_TRUE(w->fullScreen()) << name;
        if (fullScreenPlayer.isNull()) fullScreenPlayer = w->flash()->geometry();
        EXPECT_EQ(w->flash()->geometry(), fullScreenPlayer) << name;
        EXPECT_TRUE(w->flash()->isMovieLoaded()) << name;
        delete w;
    }
    EXPECT_EQ(store.movieRequests, 1);
}

TEST_F(FlashPayFrmTest, AMovieThatCannotRunShowsANoteAndIsDownloadedAgainOnlyOnReload) {
    settings.webBackColor = "#E1EAF6";
    FlashPayFrm* w = open(movieApp("broken.swf"));
    ASSERT_TRUE(waitUntil([&] { return w->movieFailed(); }, 30000));
    EXPECT_TRUE(w->note()->isVisible());
    EXPECT_FALSE(w->flash()->isVisible());
    EXPECT_EQ(w->note()->geometry(), w->flash()->geometry());
    EXPECT_EQ(w->note()->grab().toImage().pixelColor(5, 5), QColor(0xE1, 0xEA, 0xF6)); // the page colour
    EXPECT_FALSE(w->note()->text().isEmpty());
    // The broken file stays where it is and is not fetched again by itself.
    EXPECT_FALSE(w->Down()->control().downloading());
    EXPECT_EQ(store.movieRequests, 1);

    // Opened again, it plays the file in Game: the note again, no download.
    FlashPayFrm* again = open(movieApp("broken.swf"));
    ASSERT_TRUE(waitUntil([&] { return again->movieFailed(); }, 30000));
    EXPECT_EQ(store.movieRequests, 1);

    // The reload tab fetches it anew, once, and shows the note again when it is still broken.
    again->GameSStabs()->setCurrentTab(3);
    EXPECT_FALSE(again->note()->isVisible()); // the bar while it downloads
    EXPECT_TRUE(waitUntil([&] { return again->movieFailed() && store.movieRequests == 2; }, 30000));
    EXPECT_TRUE(again->note()->isVisible());
    EXPECT_FALSE(again->Down()->control().downloading());
    EXPECT_EQ(store.movieRequests, 2);

    // A movie that plays hides the note.
    FlashPayFrm* good = open(movieApp());
    ASSERT_TRUE(waitUntil([&] { return good->flash()->isMovieLoaded(); }, 30000));
    EXPECT_FALSE(good->note()->isVisible());
    EXPECT_TRUE(good->flash()->isVisible());
    EXPECT_EQ(store.movieRequests, 3) << "the broken movie was fetched again meanwhile";
}

namespace {

// The keys go where the window's keyboard focus is.
void pressKey(Qt::Key key) {
    QTest::keyClick(QApplication::focusWidget(), key);
}

} // namespace

// Keys pressed at a movie reach it only with real input (tools/brindleflows/screenshots.sh, flow
// "keys"); here the keyboard's place: the player's view, and inside its page the movie.
TEST_F(FlashPayFrmTest, AFreshlyOpenedMovieHasTheKeyboard) {
    fs::copy_file(fs::path(TEST_MOVIES) / "keys.swf", app.path() / "Game" / "keys.swf");
    FlashPayFrm* w = open(movieApp("keys.swf"));
    ASSERT_TRUE(waitUntil([&] { return w->flash()->isMovieLoaded(); }, 30000));
    EXPECT_TRUE(w->flash()->isAncestorOf(QApplication::focusWidget()));
    EXPECT_TRUE(waitForScript(*w->flash()->page(),
                              "document.hasFocus() && document.activeElement.tagName == 'RUFFLE-PLAYER'"));
}

TEST_F(FlashPayFrmTest, KeysReachAFreshlyOpenedPageAppWithoutAClickAndStayInIt) {
    FlashPayFrm* w = openKeysPage();
    ASSERT_TRUE(w);
    for (const auto& [key, code] :
         {std::pair{Qt::Key_Left, "ArrowLeft"}, std::pair{Qt::Key_Space, "Space"},
          std::pair{Qt::Key_A, "KeyA"}, std::pair{Qt::Key_5, "Digit5"}, std::pair{Qt::Key_Tab, "Tab"},
          std::pair{Qt::Key_Escape, "Escape"}, std::pair{Qt::Key_Right, "ArrowRight"}}) {
        ASSERT_TRUE(w->AppWeb()->isAncestorOf(QApplication::focusWidget())) << code;
        pressKey(key);
        EXPECT_TRUE(waitUntil([&] { return w->AppWeb()->title() == QLatin1String(code); }, 5000)) << code;
    }
    EXPECT_EQ(w->GameSStabs()->currentTab(), 0); // the arrows the page left unhandled did not switch tabs
}

TEST_F(FlashPayFrmTest, F11SwitchesFullScreenAndEscapeLeavesItWhileTheAppKeepsTheKeyboard) {
    FlashPayFrm* w = openKeysPage();
    ASSERT_TRUE(w);
    const auto appHasKeyboard = [&] { return w->AppWeb()->isAncestorOf(QApplication::focusWidget()); };

    pressKey(Qt::Key_F11);
    EXPECT_TRUE(w->fullScreen());
    EXPECT_EQ(w->GameSStabs()->tabCaption(4), QStringLiteral("退出全屏"));
    EXPECT_EQ(w->GameSStabs()->currentTab(), 0);
    ASSERT_TRUE(appHasKeyboard());
    pressKey(Qt::Key_Escape);
    EXPECT_FALSE(w->fullScreen());
    EXPECT_EQ(w->GameSStabs()->tabCaption(4), QStringLiteral("全屏应用"));
    ASSERT_TRUE(appHasKeyboard());
    pressKey(Qt::Key_F11);
    pressKey(Qt::Key_F11);
    EXPECT_FALSE(w->fullScreen());
    // Neither reached the page; outside full screen Escape is the app's.
    pressKey(Qt::Key_Escape);
    EXPECT_TRUE(waitUntil([&] { return w->AppWeb()->title() == QLatin1String("Escape"); }, 5000));
    EXPECT_FALSE(w->fullScreen());
}
