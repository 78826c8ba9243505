#include "viewer/qt/FlashPlayer.h"

#include "LoopbackServer.h"
#include "PageScript.h"
#include "TempDir.h"
#include "WaitUntil.h"
#include "viewer/SaveWriter.h"
#include "viewer/SolFile.h"
#include "viewer/TestMovie.h"
#include "viewer/qt/PlayerGroup.h"
#include "viewer/qt/PlayerPage.h"
#include "viewer/qt/PlayerSchemeHandler.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <atomic>
#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <thread>

namespace fs = std::filesystem;

namespace {

// The web engine takes schemes only before it starts, as the program's main registers it.
const bool schemeRegistered = (PlayerSchemeHandler::registerScheme(), true);

fs::path playerFolder() {
    return fs::path(qEnvironmentVariable("BRINDLE_APP_DIR").toStdString()) / "player";
}

// A movie of the tests' own (built from tests/viewer/movies).
fs::path builtMovie(const char* name) {
    return fs::path(TEST_MOVIES) / name;
}

// The value saved under name in a .sol file, once the file holds it; null after timeoutMs.
std::optional<viewer::AmfValue> savedValue(const fs::path& sol, const std::string& name,
                                           int timeoutMs = 20000) {
    std::optional<viewer::AmfValue> found;
    waitUntil(
        [&] {
            auto file = viewer::SolFile::read(sol);
            if (file && file->value(name)) found = *file->value(name);
            return found.has_value();
        },
        timeoutMs);
    return found;
}

// The text of a value once it is saved, for comparing.
std::string savedText(const fs::path& sol, const std::string& name) {
    auto value = savedValue(sol, name);
    return value ? value->toText() : "(nothing saved)";
}

// The text of a value as the file holds it now.
std::string textNow(const fs::path& sol, const std::string& name) {
    auto file = viewer::SolFile::read(sol);
    return file && file->value(name) ? file->value(name)->toText() : "(nothing saved)";
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int countPixels(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) {
            QRgb p = image.pixel(x, y);
            n += std::abs(qRed(p) - qRed(colour)) < 40 && std::abs(qGreen(p) - qGreen(colour)) < 40 &&
                 std::abs(qBlue(p) - qBlue(colour)) < 40;
        }
    return n;
}

// The left-most column holding the movie's red square, or -1.
int squareLeft(const QImage& image) {
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); y += 2)
            if (countPixels(image.copy(x, y, 1, 1), qRgb(0xe0, 0x20, 0x20))) return x;
    return -1;
}

class FlashPlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(schemeRegistered);
        fs::create_directory(app.path() / "Game");
        std::ofstream(app.path() / "Game" / "square.swf", std::ios::binary) << testMovie();
        std::ofstream(app.path() / "secret.swf", std::ios::binary) << testMovie();
        player.resize(400, 300);
        player.show();
    }
    QString game(const char* name) const {
        return QString::fromStdString((app.path() / "Game" / name).string());
    }
    bool waitLoaded(QSignalSpy& spy) { return spy.count() > 0 || spy.wait(30000); }

    viewer::PlayerFiles files() const { return {playerFolder(), app.path() / "Game", app.path() / "Saves"}; }
    void copyToGame(const char* name, const std::string& as = {}) {
        fs::copy_file(builtMovie(name), app.path() / "Game" / (as.empty() ? name : as));
    }

    TempDir app;
    viewer::SaveWriter writer;
    PlayerGroup group{writer};
    FlashPlayer player{group, files()};
};

} // namespace

TEST_F(FlashPlayerTest, PlaysAMovieFromGameWithMovingFrames) {
    QSignalSpy loaded(&player, &FlashPlayer::movieLoaded);
    QSignalSpy failed(&player, &FlashPlayer::movieFailed);
    player.setMovie(game("square.swf"));
    ASSERT_TRUE(waitLoaded(loaded)) << failed.value(0).value(0).toString().toStdString();
    EXPECT_TRUE(player.isMovieLoaded());

    // Frames show: the blue stage and the red square, and the square moves.
    QImage first, later;
    for (int i = 0; i < 100 && squareLeft(first) < 0; ++i) {
        QTest::qWait(50);
        first = player.grab().toImage();
    }
    ASSERT_GE(squareLeft(first), 0) << "no frame drawn";
    EXPECT_GT(countPixels(first, qRgb(0x20, 0x40, 0xa0)), 1000);
    for (int i = 0; i < 40 && (i == 0 || squareLeft(later) == squareLeft(first)); ++i) {
        QTest::qWait(50);
        later = player.grab().toImage();
    }
    EXPECT_NE(squareLeft(later), squareLeft(first));
    EXPECT_EQ(failed.count(), 0);
}

TEST_F(FlashPlayerTest, SettingTheSameMovieAgainStartsItAgain) {
    QSignalSpy loaded(&player, &FlashPlayer::movieLoaded);
    player.setMovie(game("square.swf"));
    ASSERT_TRUE(waitLoaded(loaded));
    player.setMovie(game("square.swf"));
    EXPECT_FALSE(player.isMovieLoaded());
    ASSERT_TRUE(loaded.wait(30000));
    EXPECT_TRUE(player.isMovieLoaded());
    EXPECT_EQ(loaded.count(), 2);
}

TEST_F(FlashPlayerTest, PlaysNothingFromOutsideGame) {
    QSignalSpy pageReady(player.page(), &QWebEnginePage::loadFinished);
    QSignalSpy loaded(&player, &FlashPlayer::movieLoaded);
    for (auto path : {QString::fromStdString((app.path() / "secret.swf").string()), game("../secret.swf"),
                      QStringLiteral("/etc/passwd"), QString()}) {
        player.setMovie(path);
        EXPECT_TRUE(player.movie().isEmpty()) << path.toStdString();
    }
    // The starts waited for the player page and were carried out when it had loaded; a movie they
    // handed to the page would have made its Ruffle player before this script runs.
    ASSERT_TRUE(waitUntil([&] { return pageReady.count() > 0; }, 30000));
    EXPECT_TRUE(evaluate(*player.page(), QStringLiteral("player === null && currentToken === 0")).toBool());
    EXPECT_EQ(loaded.count(), 0);
}

TEST_F(FlashPlayerTest, ThePageReachesNothingButItsOwnScheme) {
    std::atomic<int> hits = 0;
    LoopbackServer server;
    server.routes().Get(".*", [&](const httplib::Request&, httplib::Response& res) {
        ++hits;
        res.set_content("x", "text/plain");
    });
    server.start();
    QSignalSpy loaded(&player, &FlashPlayer::movieLoaded);
    player.setMovie(game("square.swf"));
    ASSERT_TRUE(waitLoaded(loaded));

    const QString url = QString::fromStdString(server.url("/x"));
    player.page()->runJavaScript(
        QStringLiteral(
            "window.brindleSettled = 0; const settle = () => ++window.brindleSettled;"
            "fetch('%1').then(settle, settle);"
            "const image = new Image(); image.onload = image.onerror = settle; image.src = '%1?i';"
            "const x = new XMLHttpRequest(); x.onloadend = settle; x.open('GET', '%1?x'); x.send();"
            "if (!window.open('%1?w')) settle();")
            .arg(url));
    // Every request has ended (failed, or the window was refused): none can reach the server later.
    ASSERT_TRUE(waitForScript(*player.page(), QStringLiteral("window.brindleSettled === 4")));
    QSignalSpy ended(player.page(), &QWebEnginePage::loadFinished);
    player.page()->runJavaScript(QStringLiteral("location.href = '%1?n';").arg(url));
    ASSERT_TRUE(waitUntil([&] { return ended.count() > 0; }, 10000)) << "the navigation did not end";
    EXPECT_EQ(hits, 0);
    EXPECT_EQ(player.page()->url().scheme(), QStringLiteral("brindle"));
}

TEST_F(FlashPlayerTest, AMovieKnowsItsAddressQueryAndWhatLiesBesideIt) {
    copyToGame("probe.swf", "probe.swf?level=2&name=ok");
    copyToGame("second.swf");
    copyToGame("beside.txt");
    QSignalSpy loaded(&player, &FlashPlayer::movieLoaded);
    player.setMovie(game("probe.swf?level=2&name=ok"));
    ASSERT_TRUE(waitLoaded(loaded));

    const fs::path probe = app.path() / "Saves" / "probe.swf" / "probe.sol";
    EXPECT_EQ(savedText(probe, "url"), R"("brindle://app/Game/probe.swf?level=2&name=ok")");
    EXPECT_EQ(savedText(probe, "parameters"), R"({"level": "2", "name": "ok"})");
    EXPECT_EQ(savedText(probe, "beside"), R"("text beside the movie")");
    EXPECT_EQ(savedText(probe, "second"), R"("brindle://app/Game/second.swf")");
    EXPECT_EQ(savedText(probe, "missing"), R"("error")");
    // The second movie ran and saved with the first one's saves.
    const fs::path second = app.path() / "Saves" / "probe.swf" / "second.sol";
    EXPECT_EQ(savedText(second, "ran"), "true");
    EXPECT_EQ(savedText(second, "url"), R"("brindle://app/Game/second.swf")");
}

TEST_F(FlashPlayerTest, SavesLastAcrossReloadsAndPlayersAndStayWithTheirMovie) {
    copyToGame("plays.swf");
    copyToGame("plays.swf", "other.swf");
    const fs::path plays = app.path() / "Saves" / "plays.swf" / "plays.sol";
    QSignalSpy loaded(&player, &FlashPlayer::movieLoaded);
    player.setMovie(game("plays.swf"));
    ASSERT_TRUE(waitLoaded(loaded));
    ASSERT_TRUE(savedValue(plays, "count"));
    EXPECT_EQ(savedValue(plays, "count")->integer, 1);

    // Played again in the same page, then (stopped here) in a new player: the movie reads its
    // count back.
    player.setMovie(game("plays.swf"));
    EXPECT_TRUE(waitUntil([&] { return textNow(plays, "count") == "2"; }));
    player.setMovie(QString());
    QString trace; // outlives the player, whose pending script answers arrive as it goes
    {
        FlashPlayer next{group, files()};
        next.resize(400, 300);
        next.show();
        next.setMovie(game("plays.swf"));
        EXPECT_TRUE(waitUntil([&] { return textNow(plays, "count") == "3"; }));
        EXPECT_EQ(savedText(plays, "read"), "2");
        // What the movie itself shows: it traces the count it read back, plus one.
        next.page()->runJavaScript("player.ruffle().traceObserver = (m) => { window.lastTrace = m; };");
        bool asking = false;
        waitUntil(
            [&] {
                if (!asking) {
                    asking = true;
                    next.page()->runJavaScript("window.lastTrace || ''", [&](const QVariant& v) {
                        trace = v.toString();
                        asking = false;
                    });
                }
                return trace == QStringLiteral("plays 3");
            },
            10000);
        EXPECT_EQ(trace, QStringLiteral("plays 3"));
    }

    // Another movie starts on its own saves, and this one's are untouched.
    player.setMovie(game("other.swf"));
    const fs::path other = app.path() / "Saves" / "other.swf" / "plays.sol";
    EXPECT_TRUE(waitUntil([&] { return textNow(other, "count") == "1"; }));
    EXPECT_EQ(savedText(plays, "count"), "3");
}

// The counter's "kept" object is never flushed: only the save at the movie's end writes it. A
// movie started in another player while the first stops reads what that stop saved. (Its flushed
// "plays" tells that a start has run its script; Ruffle reports a movie loaded before that.)
TEST_F(FlashPlayerTest, AStoppedMovieSavesWhatItNeverFlushedBeforeTheNextStarts) {
    copyToGame("plays.swf");
    const fs::path plays = app.path() / "Saves" / "plays.swf" / "plays.sol";
    const fs::path kept = app.path() / "Saves" / "plays.swf" / "kept.sol";
    QSignalSpy stopped(&player, &FlashPlayer::movieStopped);
    player.setMovie(game("plays.swf"));
    ASSERT_TRUE(waitUntil([&] { return textNow(plays, "count") == "1"; }));

    FlashPlayer next{group, files()};
    next.resize(400, 300);
    next.show();
    QSignalSpy nextStopped(&next, &FlashPlayer::movieStopped);
    std::string keptAtNextStart;
    QObject::connect(&next, &FlashPlayer::movieLoaded, [&] { keptAtNextStart = textNow(kept, "count"); });
    player.stopMovie();
    next.setMovie(game("plays.swf"));
    ASSERT_TRUE(waitUntil([&] { return textNow(plays, "count") == "2"; }));
    EXPECT_EQ(stopped.count(), 1);
    EXPECT_EQ(keptAtNextStart, "1");

    // The same movie again in the same player: it stops, and its saves are on disk before it
    // starts again.
    next.setMovie(game("plays.swf"));
    ASSERT_TRUE(waitUntil([&] { return textNow(plays, "count") == "3"; }));
    EXPECT_EQ(nextStopped.count(), 1);
    EXPECT_EQ(keptAtNextStart, "2");
    EXPECT_EQ(textNow(kept, "read"), "1");
    next.stopMovie();
    EXPECT_TRUE(nextStopped.wait(10000));
    // The saves a stop handed over are on disk once the writer is idle, as at the program's end.
    writer.waitIdle();
    EXPECT_EQ(textNow(kept, "count"), "3");

    // Stopping a player that plays nothing reports at once.
    next.stopMovie();
    EXPECT_EQ(nextStopped.count(), 3);
}

TEST_F(FlashPlayerTest, FilesBesideTheMovieAreFetchedOnceFromItsStoreFolder) {
    std::atomic<int> besideHits = 0, missingHits = 0, redirectHits = 0;
    LoopbackServer store;
    store.routes().set_keep_alive_max_count(1); // no idle connection holds up its stop
    store.routes().Get("/swf/beside.txt", [&](const httplib::Request&, httplib::Response& res) {
        ++besideHits;
        res.set_content("text from the store", "text/plain");
    });
    store.routes().Get("/swf/second.swf", [&](const httplib::Request&, httplib::Response& res) {
        ++redirectHits;
        res.set_redirect("/elsewhere/second.swf");
    });
    store.routes().Get("/swf/nowhere.txt", [&](const httplib::Request&, httplib::Response& res) {
        ++missingHits;
        res.status = 404;
    });
    store.start();
    copyToGame("probe.swf");
    QSignalSpy loaded(&player, &FlashPlayer::movieLoaded);
    player.setMovie(game("probe.swf"), QString::fromStdString(store.url("/swf/probe.swf?x=1")));
    ASSERT_TRUE(waitLoaded(loaded));

    // The movie's files and saves are its site's, the store folder it came from.
    const auto place = viewer::MoviePlace::of(store.url("/swf/probe.swf?x=1")).value();
    const fs::path site = app.path() / "Game" / place.site();
    const fs::path probe = app.path() / "Saves" / place.savesName() / "probe.sol";
    EXPECT_EQ(savedText(probe, "beside"), R"("text from the store")");
    EXPECT_EQ(savedText(probe, "missing"), R"("error")");
    EXPECT_EQ(savedText(probe, "second"), R"("error")"); // a redirect is not followed
    EXPECT_EQ(readFile(site / "beside.txt"), "text from the store");
    EXPECT_FALSE(fs::exists(site / "second.swf"));
    EXPECT_FALSE(fs::exists(site / "nowhere.txt"));

    // Played again: the fetched file comes from Game, and what failed is not asked for again.
    fs::remove(probe);
    player.setMovie(game("probe.swf"), QString::fromStdString(store.url("/swf/probe.swf?x=1")));
    EXPECT_EQ(savedText(probe, "beside"), R"("text from the store")");
    EXPECT_EQ(savedText(probe, "missing"), R"("error")");
    EXPECT_EQ(besideHits, 1);
    EXPECT_EQ(missingHits, 1);
    EXPECT_EQ(redirectHits, 1);
    // Nothing but the fetched file was left, in the site folder.
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(app.path() / "Game"))
        names.insert(entry.path().lexically_relative(app.path() / "Game").string());
    EXPECT_EQ(names,
              (std::set<std::string>{"probe.swf", "square.swf", place.site(), place.site() + "/beside.txt"}));
}

TEST_F(FlashPlayerTest, ManyFilesAskedForAtOnceAreFetchedAFewAtATime) {
    std::atomic<int> running = 0, most = 0;
    LoopbackServer store;
    store.routes().set_keep_alive_max_count(1); // no idle connection holds up its stop
    store.routes().Get("/swf/(f[0-9]+\\.txt)", [&](const httplib::Request& req, httplib::Response& res) {
        most = std::max(most.load(), ++running);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        --running;
        res.set_content(req.matches[1].str(), "text/plain");
    });
    store.start();
    QSignalSpy loaded(&player, &FlashPlayer::movieLoaded);
    player.setMovie(game("square.swf"), QString::fromStdString(store.url("/swf/square.swf")));
    ASSERT_TRUE(waitLoaded(loaded));

    const auto site = QString::fromStdString(viewer::MoviePlace::of(store.url("/swf/square.swf"))->site());
    player.page()->runJavaScript(
        QStringLiteral("window.got = 0; for (let i = 0; i < 12; ++i) fetch(`/Game/%1/f${i}.txt`)"
                       ".then((r) => r.text()).then((t) => { if (t === `f${i}.txt`) ++window.got; });")
            .arg(site));
    int got = 0;
    bool asking = false;
    waitUntil(
        [&] {
            if (!asking) {
                asking = true;
                player.page()->runJavaScript("window.got", [&](const QVariant& v) {
                    got = v.toInt();
                    asking = false;
                });
            }
            return got == 12;
        },
        30000);
    EXPECT_EQ(got, 12);
    EXPECT_LE(most, 4);
    waitUntil([&] { return !asking; }); // the last answer, before the variables it writes go
}

// Ruffle leaves the audio context of a player it ends running: a page that warmed up and played two
// movies would keep three contexts making silence, each with its audio thread and memory. Only the
// movie playing has its context open, and none is once it stopped.
TEST_F(FlashPlayerTest, OnlyTheMoviePlayingKeepsItsSoundOpen) {
    // Counts the page's audio contexts from its start, before its own scripts run.
    QWebEngineScript count;
    count.setInjectionPoint(QWebEngineScript::DocumentCreation);
    count.setWorldId(QWebEngineScript::MainWorld);
    count.setSourceCode(QStringLiteral("window.contexts = []; window.AudioContext = new Proxy(AudioContext, {"
                                       "construct(t, a, n) { const c = Reflect.construct(t, a, n);"
                                       " contexts.push(c); return c; } });"));
    player.page()->scripts().insert(count);
    const auto made = [&](const char* expected) {
        return waitUntil([&] {
            return evaluate(*player.page(),
                            "contexts.length + ' made, ' + contexts.filter((c) => c.state !== "
                            "'closed').length + ' open'")
                       .toString() == QLatin1String(expected);
        });
    };
    QSignalSpy warm(static_cast<PlayerPage*>(player.page()), &PlayerPage::warm);
    ASSERT_TRUE(
        waitForScript(*player.page(), "typeof warmUp === 'function' && Array.isArray(window.contexts)"));
    player.page()->runJavaScript("warmUp()");
    ASSERT_TRUE(warm.wait(30000));
    // The page's own, which starts the engine's audio, Ruffle's, and the page's again, which keeps
    // that audio process for the next movie.
    EXPECT_TRUE(made("3 made, 1 open"));

    QSignalSpy loaded(&player, &FlashPlayer::movieLoaded);
    QSignalSpy stopped(&player, &FlashPlayer::movieStopped);
    copyToGame("plays.swf");
    player.setMovie(game("square.swf"));
    ASSERT_TRUE(waitLoaded(loaded));
    player.setMovie(game("plays.swf"));
    ASSERT_TRUE(waitUntil([&] { return loaded.count() == 2; }, 30000));
    // Each movie's own, with the page's own between them (each closed by the next movie's), and
    // only the one made last, the playing movie's, is open.
    EXPECT_TRUE(made("6 made, 1 open"));
    EXPECT_TRUE(evaluate(*player.page(), "contexts[5].state !== 'closed'").toBool());
    player.stopMovie();
    ASSERT_TRUE(waitUntil([&] { return stopped.count() == 2; }));
    // The movie's is closed; the page keeps one of its own for the next.
    EXPECT_TRUE(made("7 made, 1 open"));
}

TEST_F(FlashPlayerTest, DrawsWithCanvasWhereTheProcessorDrawsWebGlAndLeavesAGpuToRuffle) {
    // The tests' engine has no GPU and offers no WebGL.
    QSignalSpy pageReady(player.page(), &QWebEnginePage::loadFinished);
    ASSERT_TRUE(waitUntil([&] { return pageReady.count() > 0; }, 60000));
    EXPECT_EQ(evaluate(*player.page(), "window.RufflePlayer.config.preferredRenderer").toString(), "canvas");
    for (const char* software :
         {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Google SwiftShader",
          "ANGLE (Google, Vulkan 1.3.0 (SwiftShader Device (Subzero) (0x0000C0DE)), SwiftShader driver)",
          "Software Rasterizer"})
        EXPECT_EQ(evaluate(*player.page(), QStringLiteral("rendererFor(\"%1\")").arg(software)).toString(),
                  "canvas")
            << software;
    // A GPU's name may hold "LLVM" too (Mesa's AMD driver compiles with it).
    for (const char* gpu : {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", "NVIDIA GeForce GTX 1050/PCIe/SSE2",
                            "AMD Radeon RX 580 Series (polaris10, LLVM 15.0.6, DRM 3.49, 6.1.0-13-amd64)"})
        EXPECT_TRUE(
            evaluate(*player.page(), QStringLiteral("rendererFor(\"%1\") === null").arg(gpu)).toBool())
            << gpu;
}

TEST_F(FlashPlayerTest, ABrokenMovieFailsInsteadOfShowingNothing) {
    copyToGame("broken.swf");
    QSignalSpy loaded(&player, &FlashPlayer::movieLoaded);
    QSignalSpy failed(&player, &FlashPlayer::movieFailed);
    player.setMovie(game("broken.swf"));
    EXPECT_TRUE(failed.count() > 0 || failed.wait(30000));
    EXPECT_EQ(loaded.count(), 0);

    // The player still plays a good movie afterwards.
    player.setMovie(game("square.swf"));
    EXPECT_TRUE(waitLoaded(loaded));
}

TEST_F(FlashPlayerTest, EveryMovieNameKeepsItsSavesInAFolderOfItsOwnInsideSaves) {
    QSignalSpy failed(&player, &FlashPlayer::movieFailed);
    for (const std::string name : {"我的 游戏.swf", "a%2F..%2F..%2Fx.swf", "%2E%2E", "q.swf?a=1&b=%2F..#f"}) {
        copyToGame("plays.swf", name);
        player.setMovie(game(name.c_str()));
        const std::string folder = name.substr(0, name.find('?'));
        EXPECT_TRUE(waitUntil([&] {
            return textNow(app.path() / "Saves" / folder / "plays.sol", "count") == "1";
        })) << name;
    }
    EXPECT_EQ(failed.count(), 0);

    // A name that gives no address cannot play, and says so.
    copyToGame("plays.swf", "..?x");
    player.setMovie(game("..?x"));
    EXPECT_TRUE(failed.count() > 0 || failed.wait(10000));

    // Each movie's never-flushed object is written as the next start stops it; the last one's is
    // written by the writer after the refused start, so the folder is compared once it is there.
    std::set<std::string> expected{"secret.swf"};
    for (const std::string folder : {"我的 游戏.swf", "a%2F..%2F..%2Fx.swf", "%2E%2E", "q.swf"})
        for (const std::string save : {"plays.sol", "kept.sol"})
            expected.insert("Saves/" + folder + "/" + save);
    const auto filesNow = [&] {
        std::set<std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(app.path()))
            if (entry.is_regular_file() && !entry.path().string().starts_with((app.path() / "Game").string()))
                files.insert(fs::relative(entry.path(), app.path()).string());
        return files;
    };
    EXPECT_TRUE(waitUntil([&] { return fs::exists(app.path() / "Saves" / "q.swf" / "kept.sol"); }));
    writer.waitIdle();
    EXPECT_EQ(filesNow(), expected);
}

// A movie that tries to keep 40 saves of 15 MB each: the flushes past the limit fail in the movie
// and the player says so once; neither the disk nor the page holds more than the limit, also after
// the save at the movie's stop; and the next start reads what was kept.
TEST_F(FlashPlayerTest, AMovieKeepsNoMoreThanItsLimitAndStartsAgainOnWhatItKept) {
    copyToGame("hoard.swf");
    const fs::path folder = app.path() / "Saves" / "hoard.swf";
    const fs::path outcome = folder / "outcome.sol";
    QSignalSpy refused(&player, &FlashPlayer::savesRefused);
    QSignalSpy stopped(&player, &FlashPlayer::movieStopped);
    player.setMovie(game("hoard.swf"));
    ASSERT_TRUE(waitUntil([&] { return textNow(outcome, "refused") == "39"; }, 120000))
        << textNow(outcome, "refused");
    EXPECT_EQ(textNow(outcome, "flushed"), "1");
    EXPECT_EQ(refused.count(), 1);
    const double held =
        evaluate(*player.page(), "Array.from(saves.values()).reduce((n, v) => n + v.length, 0) * 3 / 4")
            .toDouble();
    EXPECT_GT(held, 15 << 20);
    EXPECT_LE(held, viewer::SaveQuota::MaxBytes);

    player.stopMovie();
    ASSERT_TRUE(stopped.count() > 0 || stopped.wait(60000));
    writer.waitIdle();
    std::set<std::string> files;
    std::uintmax_t bytes = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        files.insert(entry.path().filename().string());
        bytes += entry.file_size();
    }
    EXPECT_EQ(files, (std::set<std::string>{"hoard0.sol", "outcome.sol"}));
    EXPECT_LE(bytes, viewer::SaveQuota::MaxBytes);

    player.setMovie(game("hoard.swf"));
    ASSERT_TRUE(waitUntil([&] { return textNow(outcome, "starts") == "2"; }, 60000));
    EXPECT_EQ(textNow(outcome, "readFlushed"), "1");
    EXPECT_EQ(textNow(outcome, "readLength"), std::to_string(15 << 20));
    EXPECT_EQ(refused.count(), 1);
}
