#include "viewer/qt/FlashPlayer.h"

#include "LoopbackServer.h"
#include "TempDir.h"
#include "viewer/TestMovie.h"
#include "viewer/qt/PlayerSchemeHandler.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <atomic>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// The web engine takes schemes only before it starts, as the program's main registers it.
const bool schemeRegistered = (PlayerSchemeHandler::registerScheme(), true);

fs::path playerFolder() {
    return fs::path(qEnvironmentVariable("BRINDLE_APP_DIR").toStdString()) / "player";
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

    TempDir app;
    FlashPlayer player{viewer::PlayerFiles{playerFolder(), app.path() / "Game"}};
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
    QSignalSpy loaded(&player, &FlashPlayer::movieLoaded);
    for (auto path : {QString::fromStdString((app.path() / "secret.swf").string()), game("../secret.swf"),
                      QStringLiteral("/etc/passwd"), QString()}) {
        player.setMovie(path);
        EXPECT_TRUE(player.movie().isEmpty()) << path.toStdString();
    }
    EXPECT_FALSE(loaded.wait(3000));
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
        QStringLiteral("fetch('%1'); new Image().src = '%1?i'; "
                       "let x = new XMLHttpRequest(); x.open('GET', '%1?x'); x.send();"
                       "window.open('%1?w'); location.href = '%1?n';")
            .arg(url));
    QTest::qWait(1500);
    EXPECT_EQ(hits, 0);
    EXPECT_EQ(player.page()->url().scheme(), QStringLiteral("brindle"));
}
