#include "viewer/qt/AppOpener.h"

#include "LoopbackServer.h"
#include "TempDir.h"
#include "WaitUntil.h"
#include "viewer/MoviePlace.h"
#include "viewer/SaveWriter.h"
#include "viewer/SolFile.h"
#include "viewer/TestMovie.h"
#include "viewer/qt/FlashPlayer.h"
#include "viewer/qt/PlayerGroup.h"
#include "viewer/qt/PlayerReadiness.h"
#include "viewer/qt/PlayerSchemeHandler.h"
#include "web/qt/WebProfiles.h"

#include <QApplication>
#include <QImage>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <atomic>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace {

const bool schemeRegistered = (PlayerSchemeHandler::registerScheme(), true);

// Link pages /link/N forward to the detail page /app/N (a page app, no movie, nothing to fetch);
// link 1 answers slowly.
class AppOpenerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(schemeRegistered);
        store.routes().Get(R"(/link/(\d+))", [this](const httplib::Request& req, httplib::Response& res) {
            if (req.matches[1] == "1") std::this_thread::sleep_for(std::chrono::milliseconds(800));
            res.set_content("<script>top.location.href = \"" + store.url("/app/" + req.matches[1].str()) +
                                "\";",
                            "text/html");
        });
        store.routes().Get(R"(/app/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content("app_name:\"App " + req.matches[1].str() + "\",", "text/html");
        });
        // A movie app whose link answers at once and whose details slowly.
        store.routes().Get("/movielink", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content("<script>top.location.href = \"" + store.url("/widget/9") + "\";", "text/html");
        });
        store.routes().Get("/widget/9", [this](const httplib::Request&, httplib::Response& res) {
            movieDetailsAsked = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(800));
            res.set_content("app_name:\"Movie\", flash : \"/swf/m.swf\",", "text/html");
        });
        // Movie apps N whose movies mN.swf are in Game already.
        store.routes().Get(R"(/movie/(\d+))", [this](const httplib::Request& req, httplib::Response& res) {
            res.set_content("<script>top.location.href = \"" + store.url("/widget/m" + req.matches[1].str()) +
                                "\";",
                            "text/html");
        });
        store.routes().Get(R"(/widget/m(\d+))", [this](const httplib::Request& req, httplib::Response& res) {
            const std::string n = req.matches[1].str();
            res.set_content("app_name:\"Movie " + n + "\", flash : \"" + store.url("/swf/m" + n + ".swf") +
                                "\",",
                            "text/html");
        });
        store.routes().Get("/plain", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("<p>维护中</p>", "text/html");
        });
        // Accepts and answers only once the test is over (at most 20 seconds).
        store.routes().Get("/silent", [this](const httplib::Request&, httplib::Response& res) {
            for (int i = 0; i < 2000 && !released; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            res.set_content("late", "text/html");
        });
        store.start();
    }
    void TearDown() override { released = true; }
    QUrl url(const std::string& path) const { return QUrl(QString::fromStdString(store.url(path))); }
    // The built player, and the movies of the movie apps 1 and 2 in Game.
    void addPlayerAndMovies() {
        std::filesystem::create_directory_symlink(
            std::filesystem::path(qEnvironmentVariable("BRINDLE_APP_DIR").toStdString()) / "player",
            app.path() / "player");
        std::filesystem::create_directories(app.path() / "Game");
        for (const char* name : {"m1.swf", "m2.swf"})
            std::ofstream(app.path() / "Game" / name, std::ios::binary) << testMovie();
    }
    QUrl link(int n) const { return QUrl(QString::fromStdString(store.url("/link/" + std::to_string(n)))); }

    TempDir app;
    std::atomic<bool> released{false};
    std::atomic<bool> movieDetailsAsked{false};
    LoopbackServer store;
    WebProfiles web{app.path()};
    PlayerGroup players;
    AppOpener opener{app.path(), defaultSettings(), "http://127.0.0.1:1", web, players};
};

// Whether every pixel of a widget's image is colour (within a small tolerance), sampled every 8.
bool allOfColour(const QImage& image, QColor colour) {
    for (int y = 0; y < image.height(); y += 8)
        for (int x = 0; x < image.width(); x += 8) {
            const QColor p = image.pixelColor(x, y);
            if (std::abs(p.red() - colour.red()) > 8 || std::abs(p.green() - colour.green()) > 8 ||
                std::abs(p.blue() - colour.blue()) > 8)
                return false;
        }
    return !image.isNull();
}

// What the viewer shows where its player is.
QImage movieArea(FlashPayFrm& viewer) {
    const FlashPlayer& player = *viewer.flash();
    return viewer.grab(QRect(player.mapTo(&viewer, QPoint(0, 0)), player.size())).toImage();
}

// The test movie's blue background shows in the middle of the movie area.
bool showsTheMovie(FlashPayFrm& viewer) {
    const QImage image = movieArea(viewer);
    const QColor p = image.pixelColor(image.width() / 2, image.height() / 2);
    return p.blue() > 150 && p.red() < 100;
}

// The viewer windows that exist, shown or hidden, once those closed have gone.
std::vector<FlashPayFrm*> viewerWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    std::vector<FlashPayFrm*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* viewer = qobject_cast<FlashPayFrm*>(widget)) windows.push_back(viewer);
    return windows;
}

} // namespace

// Movies play on the one player page made ready before the first click: no viewer loads a page of
// its own, and the movie area shows the page colour, never black, from the moment the viewer
// shows until the movie's first frame.
TEST_F(AppOpenerTest, MoviesPlayOnTheReadyPlayerWhichShowsThePageColourUntilTheFirstFrame) {
    addPlayerAndMovies();
    Settings settings = defaultSettings();
    settings.webBackColor = "#30C060";
    const QColor pageColour(0x30, 0xc0, 0x60);
    AppOpener movies{app.path(), settings, store.site(), web, players};
    movies.prepareReadyPlayer();
    ASSERT_TRUE(waitUntil([&] { return movies.readyPlayer().isWarm(); }, 60000));
    FlashPlayer* ready = movies.readyPlayer().kept();
    QSignalSpy pageLoads(ready->page(), &QWebEnginePage::loadStarted);

    std::vector<QImage> atShow;
    QObject::connect(&movies, &AppOpener::opened, [&](FlashPayFrm* viewer) {
        atShow.push_back(viewer->flash()->isVisible() ? movieArea(*viewer) : QImage());
    });
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        movies.open(url("/movie/" + std::to_string(n % 2 + 1)));
        ASSERT_TRUE(waitUntil([&] { return atShow.size() == static_cast<std::size_t>(n); }, 10000));
        EXPECT_EQ(movies.viewer()->flash(), ready);
        EXPECT_TRUE(allOfColour(atShow.back(), pageColour));
        EXPECT_TRUE(waitUntil([&] { return showsTheMovie(*movies.viewer()); }, 30000));
        if (n == 2) movies.viewer()->close(); // the third opening follows a closed viewer
    }
    EXPECT_EQ(pageLoads.count(), 0);
}

// The ready player comes when a page lists movies or the pointer rests on the link of a movie app
// opened before or on the game area's tab, and goes once nothing of the kind happened for the idle
// time; a player whose movie is still stopping then goes only once its saves are handed over. The
// next viewer's window, built while the player waits, shows the click's movie, and goes with the
// player.
TEST_F(AppOpenerTest, TheReadyPlayerComesWhenAMovieIsNearAndGoesWhenNoneWasForAWhile) {
    addPlayerAndMovies();
    AppOpener movies{app.path(), defaultSettings(), store.site(), web, players};
    const ReadyPlayer& ready = movies.readyPlayer();
    PlayerReadiness readiness(
        movies.readyPlayer(), [&](const QUrl& link) { return movies.isKeptMovieApp(link); },
        std::chrono::milliseconds(200));
    readiness.moviePageShown(false);
    EXPECT_FALSE(movies.isKeptMovieApp(url("/movie/1")));
    readiness.moviePageShown(true);
    ASSERT_TRUE(waitUntil([&] { return ready.isWarm(); }, 60000));
    ASSERT_TRUE(waitUntil([&] { return viewerWindows().size() == 1; }, 10000));
    const QPointer<FlashPayFrm> ahead = viewerWindows().front();
    EXPECT_FALSE(ahead->isVisible());

    QSignalSpy opened(&movies, &AppOpener::opened);
    movies.open(url("/movie/1"));
    ASSERT_TRUE(waitUntil([&] { return opened.count() == 1 && showsTheMovie(*movies.viewer()); }, 30000));
    EXPECT_EQ(movies.viewer(), ahead.data());
    QPointer<FlashPlayer> played = movies.viewer()->flash();
    int stopsWhenGone = -1;
    QSignalSpy stopped(played.data(), &FlashPlayer::movieStopped);
    QObject::connect(played, &QObject::destroyed, [&] { stopsWhenGone = static_cast<int>(stopped.count()); });
    movies.viewer()->close();
    readiness.moviePageShown(false);
    ASSERT_TRUE(waitUntil([&] { return played.isNull(); }, 30000));
    EXPECT_EQ(stopsWhenGone, 1);
    EXPECT_EQ(ready.kept(), nullptr);
    EXPECT_TRUE(viewerWindows().empty());

    EXPECT_TRUE(movies.isKeptMovieApp(url("/movie/1")));
    readiness.linkHovered(url("/movie/1"));
    ASSERT_TRUE(waitUntil([&] { return ready.kept() != nullptr; }, 10000));
    const QPointer<FlashPlayer> hovered = ready.kept();
    readiness.linkHovered(QUrl());
    EXPECT_TRUE(waitUntil([&] { return hovered.isNull(); }, 30000));

    readiness.movieTabPointed(true);
    ASSERT_TRUE(waitUntil([&] { return ready.kept() != nullptr; }, 10000));
    const QPointer<FlashPlayer> pointed = ready.kept();
    readiness.movieTabPointed(false);
    EXPECT_TRUE(waitUntil([&] { return pointed.isNull(); }, 30000));
}

// A player page that has started as many movies as it may is not reused: the next viewer gets a new
// page, and the old one goes only after its movie has stopped and handed over the saves it never
// flushed, which the next start then reads; the program's end waits for that stop too. The movie
// counts its plays in "plays" (flushed) and "kept" (saved only when it stops).
TEST_F(AppOpenerTest, APlayerPageThatPlayedItsShareGoesOnceItsSavesAreHandedOver) {
    addPlayerAndMovies();
    std::filesystem::copy_file(std::filesystem::path(TEST_MOVIES) / "plays.swf",
                               app.path() / "Game" / "m3.swf");
    const auto saves = app.path() / "Saves" / viewer::MoviePlace::of(store.url("/swf/m3.swf"))->savesName();
    AppOpener movies{app.path(), defaultSettings(), store.site(), web, players};
    movies.readyPlayer().setRetireAfter(2);
    const auto count = [&](const char* object) {
        const auto file = viewer::SolFile::read(saves / object);
        return file && file->value("count") ? file->value("count")->toText() : std::string("none");
    };
    QSignalSpy opened(&movies, &AppOpener::opened);
    std::vector<FlashPlayer*> playedOn;
    for (const char* plays : {"1", "2"}) {
        movies.open(url("/movie/3"));
        ASSERT_TRUE(waitUntil([&] { return count("plays.sol") == plays; }, 30000)) << plays;
        playedOn.push_back(movies.viewer()->flash());
    }
    EXPECT_EQ(playedOn[0], playedOn[1]);

    // Replaced while its movie plays, the page that played its share goes, but only once stopped.
    QPointer<FlashPlayer> retired = playedOn[1];
    bool stopped = false;
    QObject::connect(retired, &FlashPlayer::movieStopped, [&] { stopped = true; });
    movies.open(url("/movie/3"));
    ASSERT_TRUE(waitUntil([&] { return opened.count() == 3; }, 10000));
    EXPECT_NE(movies.viewer()->flash(), retired.data());
    // The end waits for that stop: every movie started has saved what it kept.
    movies.closeViewer();
    bool closed = false;
    std::string plays, kept;
    movies.whenViewersClosed([&] {
        closed = true;
        players.writer().waitIdle();
        plays = count("plays.sol");
        kept = count("kept.sol");
    });
    ASSERT_TRUE(waitUntil([&] { return closed && retired.isNull(); }, 30000));
    EXPECT_TRUE(stopped);
    EXPECT_EQ(kept, plays);

    // The next movie starts on a new page, on what the retired one handed over.
    movies.open(url("/movie/3"));
    ASSERT_TRUE(waitUntil([&] { return count("plays.sol") == std::to_string(std::stoi(plays) + 1); }, 30000));
    EXPECT_EQ(count("kept.sol"), plays);
}

TEST_F(AppOpenerTest, ASecondClickWhileTheFirstIsOpeningOpensOnlyTheSecond) {
    QSignalSpy opened(&opener, &AppOpener::opened);
    opener.open(link(1));
    opener.open(link(2));
    ASSERT_TRUE(waitUntil([&] { return opened.count() == 1; }, 10000));
    EXPECT_EQ(opener.viewer()->windowTitle(), QStringLiteral("App 2"));
    ASSERT_TRUE(waitUntil([&] { return !opener.reading(); }, 10000)); // the first read ended, dropped
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(opener.current().CurrentApp.Name, "App 2");
    EXPECT_FALSE(opener.current().IsWidgetApp);
}

TEST_F(AppOpenerTest, ANewAppReplacesTheViewerAndClosingEndsIt) {
    QSignalSpy opened(&opener, &AppOpener::opened);
    // The viewer may open within open() when the store answers while the window is being built.
    opener.open(link(2));
    ASSERT_TRUE(waitUntil([&] { return opened.count() == 1; }, 10000));
    QPointer<FlashPayFrm> first = opener.viewer();
    opener.open(link(3));
    ASSERT_TRUE(waitUntil([&] { return opened.count() == 2; }, 10000));
    EXPECT_TRUE(first.isNull() || !first->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(opener.viewer()->windowTitle(), QStringLiteral("App 3"));
    EXPECT_TRUE(opener.viewer()->isVisible());

    opener.closeViewer();
    QTest::qWait(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(opener.viewer(), nullptr);
}

TEST_F(AppOpenerTest, ClosingWhileAnAppIsOpeningShowsNoViewer) {
    QSignalSpy opened(&opener, &AppOpener::opened);
    opener.open(link(1)); // answers after 800 ms
    opener.closeViewer();
    ASSERT_TRUE(waitUntil([&] { return !opener.reading(); }, 10000));
    EXPECT_EQ(opened.count(), 0);
    EXPECT_EQ(opener.viewer(), nullptr);
}

TEST_F(AppOpenerTest, APageAppClickedWhileAMovieAppIsReadGetsABrowserNotThePlayer) {
    AppOpener movieOpener{app.path(), defaultSettings(), store.site(), web, players};
    QSignalSpy opened(&movieOpener, &AppOpener::opened);
    movieOpener.open(QUrl(QString::fromStdString(store.url("/movielink"))));
    // Once the details are asked for, the link has answered and the window being prepared was told
    // to build the player; delivering what is posted builds it.
    ASSERT_TRUE(waitUntil([&] { return movieDetailsAsked.load(); }, 10000));
    QCoreApplication::sendPostedEvents();
    movieOpener.open(link(2));
    ASSERT_TRUE(waitUntil([&] { return opened.count() == 1; }, 10000));
    EXPECT_EQ(movieOpener.viewer()->windowTitle(), QStringLiteral("App 2"));
    EXPECT_EQ(movieOpener.viewer()->flash(), nullptr);
    EXPECT_NE(movieOpener.viewer()->AppWeb(), nullptr);
    ASSERT_TRUE(waitUntil([&] { return !movieOpener.reading(); }, 10000)); // the movie app's read ended
    EXPECT_EQ(opened.count(), 1);
}

TEST_F(AppOpenerTest, AnAppThatCannotBeReadShowsANoteInsteadOfAViewer) {
    QSignalSpy opened(&opener, &AppOpener::opened);
    QSignalSpy notes(&opener, &AppOpener::notOpened);
    const std::vector<std::pair<QUrl, QString>> cases{
        {QUrl("http://127.0.0.1:1/appweb/app?id=5"), AppOpener::UnreachableNote}, // refused
        {url("/silent"), AppOpener::UnreachableNote}, // accepts, never answers: the read's deadline
        {url("/plain"), AppOpener::NotAnAppNote}};
    for (const auto& [address, note] : cases) {
        notes.clear();
        opener.open(address);
        ASSERT_TRUE(waitUntil([&] { return notes.count() == 1; }, 10000)) << address.toString().toStdString();
        EXPECT_EQ(notes.first().at(0).toString(), note);
    }
    EXPECT_EQ(opened.count(), 0);
    EXPECT_EQ(opener.viewer(), nullptr);

    // Nothing is left over: the next app opens as usual.
    opener.open(link(2));
    ASSERT_TRUE(waitUntil([&] { return opened.count() == 1; }, 10000));
    EXPECT_EQ(opener.viewer()->windowTitle(), QStringLiteral("App 2"));
    EXPECT_EQ(notes.count(), 1);
}
