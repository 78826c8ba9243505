// Movies in the viewer against the built appstore, which also serves the tests' own movies
// (--movies): a movie downloaded from the store knows its address and query and loads the files
// beside it from the store once, each app its own, also from subfolders, by absolute address and in
// the Chinese code page, and nothing outside its store folder; a broken movie shows the note; device
// text shows in Chinese and Latin whatever font it names, also in an old movie whose strings are in
// the Chinese code page, every Chinese, Korean and Japanese character with its width, in lines as
// high as on Chinese Windows; every game of the store loads in the player without an error and shows
// Chinese text; a movie's calls to its page, links and fscommands work as in Flash Player, and its
// background fills the player with what it draws beyond its stage. Screenshots go to viewer-shots/
// in the test's build folder.

#include "BrindleFolder.h"
#include "PageScript.h"
#include "StoreProcess.h"
#include "WaitUntil.h"
#include "skin/qt/SSTab.h"
#include "startup/Settings.h"
#include "viewer/DeviceTextLines.h"
#include "viewer/MovieDownload.h"
#include "viewer/MoviePlace.h"
#include "viewer/OpenedApp.h"
#include "viewer/SaveWriter.h"
#include "viewer/SolFile.h"
#include "viewer/ViewerTabs.h"
#include "viewer/qt/FlashPayFrm.h"
#include "viewer/qt/FlashPlayer.h"
#include "viewer/qt/PlayerGroup.h"
#include "viewer/qt/PlayerSchemeHandler.h"
#include "web/qt/WebProfiles.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <QWebEnginePage>
#include <algorithm>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <httplib.h>

namespace fs = std::filesystem;

namespace {

const bool schemeRegistered = (PlayerSchemeHandler::registerScheme(), true);

void shoot(QWidget& widget, const QString& name) {
    QDir().mkpath(QStringLiteral(VIEWER_SHOTS));
    widget.grab().save(QStringLiteral(VIEWER_SHOTS "/%1.png").arg(name));
}

// The text of a saved value once the file holds it.
std::string saved(const fs::path& sol, const std::string& name) {
    std::string text = "(nothing saved)";
    waitUntil(
        [&] {
            auto file = viewer::SolFile::read(sol);
            if (!file || !file->value(name)) return false;
            text = file->value(name)->toText();
            return true;
        },
        20000);
    return text;
}

// Whether a pixel is within 16 of a text's colour in every component.
bool near(QRgb pixel, QRgb colour) {
    return std::abs(qRed(pixel) - qRed(colour)) <= 16 && std::abs(qGreen(pixel) - qGreen(colour)) <= 16 &&
           std::abs(qBlue(pixel) - qBlue(colour)) <= 16;
}

// For each line of the device-text movies, how many pixels of a picture are near its colour.
std::vector<int> linePixels(const QImage& image) {
    std::vector<int> counts(kDeviceTextLines.size());
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            for (std::size_t i = 0; i < counts.size(); ++i)
                if (near(row[x], kDeviceTextLines[i].colour)) ++counts[i];
    }
    return counts;
}

// How far the pixels near a colour reach to the left and to the right in a picture: (-1, -1)
// where there are none.
std::pair<int, int> columnsNear(const QImage& image, QRgb colour) {
    std::pair<int, int> span{-1, -1};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (near(image.pixel(x, y), colour)) {
                if (span.first < 0 || x < span.first) span.first = x;
                span.second = std::max(span.second, x);
            }
    return span;
}

// The height of each band of rows that hold pixels near a colour, from the top.
std::vector<int> bandsNear(const QImage& image, QRgb colour) {
    std::vector<int> bands;
    bool inBand = false;
    for (int y = 0; y < image.height(); ++y) {
        bool some = false;
        for (int x = 0; x < image.width() && !some; ++x)
            some = near(image.pixel(x, y), colour);
        if (some && !inBand) bands.push_back(0);
        if (some) ++bands.back();
        inBand = some;
    }
    return bands;
}

// The player's picture once it shows what shown() wants, taking one now and then: taking one
// takes a while, which the page needs to draw.
QImage pictureShowing(QWidget& player, const std::function<bool(const QImage&)>& shown) {
    QImage image;
    QElapsedTimer taken;
    waitUntil(
        [&] {
            if (taken.isValid() && taken.elapsed() < 300) return false;
            taken.start();
            image = player.grab().toImage().convertToFormat(QImage::Format_RGB32);
            return shown(image);
        },
        30000);
    return image;
}

// How many pixels of two pictures of the same size differ by more than 16 in a component.
int differingPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return a.width() * a.height();
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (!near(a.pixel(x, y), b.pixel(x, y))) ++count;
    return count;
}

// Where each store game's title screen shows Chinese: its name (or, where it has none, a line
// of Chinese) in one colour within a rectangle of the 550 x 400 stage. Each rectangle holds no
// Latin letters or digits, so without a Chinese font it stays empty. 黄金矿工 is known by its start
// panel's heading, 儿歌动画 by the first words of the line at its top.
struct ChineseTitle {
    const char* movie;
    QRgb colour;
    QRect where;
};

const ChineseTitle kChineseTitles[] = {
    {"blocks.swf", 0xFFD54F, {16, 16, 140, 40}},      {"lianliankan.swf", 0xFFEB3B, {8, 0, 70, 32}},
    {"zuma.swf", 0xFFD54F, {4, 0, 84, 30}},           {"bubbles.swf", 0x80D8FF, {6, 2, 64, 30}},
    {"goldminer.swf", 0xFFFFFF, {200, 130, 150, 70}}, {"fireice.swf", 0xFFC040, {2, 0, 100, 30}},
    {"birds.swf", 0xC62828, {4, 4, 150, 30}},         {"gobang.swf", 0x3E2723, {405, 25, 90, 40}},
    {"xiangqi.swf", 0xF0C060, {385, 2, 100, 36}},     {"sudoku.swf", 0x37474F, {395, 15, 115, 40}},
    {"fruits.swf", 0xFFD54F, {4, 0, 90, 32}},         {"plants.swf", 0xF0E060, {6, 16, 100, 30}},
    {"moles.swf", 0xFFF59D, {8, 4, 80, 34}},          {"snake.swf", 0x9CCC65, {8, 6, 80, 34}},
    {"typing.swf", 0x90E0EF, {6, 2, 80, 30}},         {"piano.swf", 0xFFE080, {4, 6, 90, 30}},
    {"drums.swf", 0xFFC857, {6, 2, 64, 30}},          {"nursery.swf", 0x5A2A80, {80, 10, 160, 34}},
    {"calculator.swf", 0xF0A060, {4, 20, 72, 34}},    {"photobooth.swf", 0x7A3060, {14, 4, 70, 32}},
};

// How many pixels of the widget's picture within where are near the colour.
int pixelsNear(QWidget& widget, const QRect& where, QRgb colour) {
    const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = where.top(); y <= where.bottom(); ++y)
        for (int x = where.left(); x <= where.right(); ++x)
            if (near(image.pixel(x, y), colour)) ++count;
    return count;
}

// How many of the store's requests since from ask for path.
int requestsFor(const std::string& log, std::size_t from, const std::string& path) {
    int n = 0;
    for (auto at = log.find("GET " + path, from); at != std::string::npos;
         at = log.find("GET " + path, at + 1))
        ++n;
    return n;
}

// How many of every fourth pixel of the picture in each row and column are near the colour.
int sampledNear(const QImage& picture, QRgb colour) {
    int count = 0;
    for (int y = 0; y < picture.height(); y += 4)
        for (int x = 0; x < picture.width(); x += 4)
            count += near(picture.pixel(x, y), colour);
    return count;
}

// How many pixels sampledNear looks at.
int samples(const QImage& picture) {
    return ((picture.width() + 3) / 4) * ((picture.height() + 3) / 4);
}

// The smallest rectangle holding every pixel of the picture near the colour.
QRect boundsNear(const QImage& picture, QRgb colour) {
    QRect bounds;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (near(picture.pixel(x, y), colour)) bounds |= QRect(x, y, 1, 1);
    return bounds;
}

class MovieTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        store = std::make_unique<StoreProcess>(std::vector<std::string>{"--movies", TEST_MOVIES});
    }
    static void TearDownTestSuite() { store.reset(); }

    void SetUp() override {
        ASSERT_TRUE(schemeRegistered);
        fs::create_directory(folder.path() / "Game");
        settings.webBackColor = "#E1EAF6";
    }
    void TearDown() override {
        for (auto& window : windows)
            delete window;
    }
    // A viewer showing the movie app whose movie the store serves at /widget/swf/file (a path in
    // the tests' movies folder, with a query that holds no "/").
    FlashPayFrm* open(const std::string& file) {
        viewer::OpenedApp app;
        app.IsWidgetApp = true;
        app.CurrentApp.Name = "测试影片";
        app.CurrentApp.ContentUrl = store->site() + "/widget/swf/" + file;
        app.CurrentApp.MovieFile = file.substr(file.rfind('/') + 1);
        auto* window = new FlashPayFrm(settings, folder.path(), web, players);
        windows.emplace_back(window);
        window->load(app);
        window->show();
        return window;
    }

    // Where the movie the store serves at /widget/swf/file is kept.
    static viewer::MoviePlace placeOf(const std::string& file) {
        return viewer::MoviePlace::of(store->site() + "/widget/swf/" + file).value();
    }

    static inline std::unique_ptr<StoreProcess> store;
    BrindleFolder folder{store->site()};
    WebProfiles web{folder.path()};
    PlayerGroup players;
    Settings settings = defaultSettings();
    std::vector<QPointer<FlashPayFrm>> windows;
};

} // namespace

TEST_F(MovieTest, AMovieFromTheStoreKnowsItsAddressAndQueryAndLoadsWhatLiesBesideItOnce) {
    const std::size_t before = store->log().size();
    FlashPayFrm* viewer = open("probe.swf?level=2");
    QSignalSpy drawn(viewer->flash(), &FlashPlayer::movieDrawn);
    const auto place = placeOf("probe.swf?level=2");
    const std::string site = "brindle://app/Game/" + place.site();
    const fs::path probe = folder.path() / "Saves" / place.savesName() / "probe.sol";
    EXPECT_EQ(saved(probe, "url"), "\"" + site + "/probe.swf?level=2\"");
    EXPECT_EQ(saved(probe, "parameters"), R"({"level": "2"})");
    EXPECT_EQ(saved(probe, "beside"), R"("text beside the movie")");
    EXPECT_EQ(saved(probe, "second"), "\"" + site + "/second.swf\"");
    EXPECT_EQ(saved(probe, "missing"), R"("error")");
    EXPECT_EQ(saved(folder.path() / "Saves" / place.savesName() / "second.sol", "ran"), "true");
    EXPECT_TRUE(waitUntil([&] { return drawn.count() > 0; }, 20000));
    shoot(*viewer, QStringLiteral("movie-probe"));
    // The movie and the files beside it were kept in the site folder of its store folder.
    const fs::path game = folder.path() / "Game" / place.site();
    EXPECT_TRUE(fs::exists(game / "probe.swf"));
    EXPECT_TRUE(fs::exists(game / "beside.txt"));
    EXPECT_TRUE(fs::exists(game / "second.swf"));

    // Reloaded: everything comes from Game.
    fs::remove(probe);
    viewer->GameSStabs()->setCurrentTab(3);
    EXPECT_EQ(saved(probe, "beside"), R"("text beside the movie")");
    EXPECT_EQ(saved(probe, "second"), "\"" + site + "/second.swf\"");
    const std::string log = store->log();
    EXPECT_EQ(requestsFor(log, before, "/widget/swf/probe.swf"), 1);
    EXPECT_EQ(requestsFor(log, before, "/widget/swf/beside.txt"), 1);
    EXPECT_EQ(requestsFor(log, before, "/widget/swf/second.swf"), 1);
    EXPECT_EQ(requestsFor(log, before, "/widget/swf/nowhere.txt"), 1);
}

// The same movie, with the same file names beside it, in two store folders: each app plays its own
// movie and is shown its own config.txt, asked of the store for each.
TEST_F(MovieTest, TwoAppsWhoseFilesHaveTheSameNamesEachLoadTheirOwn) {
    const std::size_t before = store->log().size();
    for (const auto& [file, config] :
         {std::pair{"a/files-as2.swf", R"("A")"}, std::pair{"b/files-as2.swf", R"("B")"}}) {
        open(file);
        EXPECT_EQ(saved(folder.path() / "Saves" / placeOf(file).savesName() / "files.sol", "config"), config);
    }
    const std::string log = store->log();
    for (const char* path : {"/widget/swf/a/files-as2.swf", "/widget/swf/b/files-as2.swf",
                             "/widget/swf/a/config.txt", "/widget/swf/b/config.txt"})
        EXPECT_EQ(requestsFor(log, before, path), 1) << path;
}

// Loads from subfolders and by absolute address into the movie's store folder work, online and
// again from Game; loads that leave it ("../", another folder of the store) reach nothing.
TEST_F(MovieTest, FilesInSubfoldersAndByAbsoluteAddressLoadAndNothingOutsideTheMoviesFolder) {
    const std::size_t before = store->log().size();
    const auto encoded = [](const std::string& address) {
        return QUrl::toPercentEncoding(QString::fromStdString(address)).toStdString();
    };
    const std::string file = "a/files-as2.swf?abs=" + encoded(store->site() + "/widget/swf/a/data/abs.txt") +
                             "&other=" + encoded(store->site() + "/widget/swf/b/config.txt");
    FlashPayFrm* viewer = open(file);
    const fs::path files = folder.path() / "Saves" / placeOf(file).savesName() / "files.sol";
    const auto expectLoads = [&] {
        EXPECT_EQ(saved(files, "sub"), R"("text in a subfolder")");
        EXPECT_EQ(saved(files, "abs"), R"("text by absolute address")");
        EXPECT_EQ(saved(files, "outside"), R"("error")");
        EXPECT_EQ(saved(files, "other"), R"("error")");
    };
    expectLoads();
    fs::remove(files);
    viewer->GameSStabs()->setCurrentTab(3); // reloaded: from Game
    expectLoads();
    const std::string log = store->log();
    EXPECT_EQ(requestsFor(log, before, "/widget/swf/a/data/sub.txt"), 1);
    EXPECT_EQ(requestsFor(log, before, "/widget/swf/a/data/abs.txt"), 1);
    EXPECT_EQ(requestsFor(log, before, "/widget/swf/secret.txt"), 0);
    EXPECT_EQ(requestsFor(log, before, "/widget/swf/b/"), 0);
}

// A text file in the Chinese code page, as Chinese Windows saved it, shows its Chinese.
TEST_F(MovieTest, TextInTheChineseCodePageReachesTheMovieAsChinese) {
    open("a/files-as2.swf");
    EXPECT_EQ(saved(folder.path() / "Saves" / placeOf("a/files-as2.swf").savesName() / "files.sol", "gbk"),
              R"("中文游戏")");
}

TEST_F(MovieTest, ABrokenMovieShowsTheNoteOnThePageColour) {
    FlashPayFrm* viewer = open("broken.swf");
    ASSERT_TRUE(waitUntil([&] { return viewer->movieFailed(); }, 30000));
    EXPECT_TRUE(viewer->note()->isVisible());
    shoot(*viewer, QStringLiteral("movie-broken"));
}

TEST_F(MovieTest, DeviceTextShowsInChineseAndLatinWhateverFontItNames) {
    for (const char* movie : {"text.swf", "text-as2.swf"}) {
        SCOPED_TRACE(movie);
        FlashPayFrm* viewer = open(movie);
        ASSERT_TRUE(waitUntil([&] { return viewer->flash()->isMovieLoaded(); }, 30000));
        // A picture now and then: taking one takes a while, which the page needs to draw.
        std::vector<int> counts;
        QElapsedTimer taken;
        waitUntil(
            [&] {
                if (taken.isValid() && taken.elapsed() < 300) return false;
                taken.start();
                counts = linePixels(viewer->grab().toImage().convertToFormat(QImage::Format_RGB32));
                return std::count(counts.begin(), counts.end(), 0) == 0;
            },
            30000);
        shoot(*viewer, QStringLiteral("device-text-%1").arg(movie));
        for (std::size_t i = 0; i < counts.size(); ++i)
            EXPECT_GT(counts[i], 0) << kDeviceTextLines[i].font;
        delete viewer;
    }
}

// A movie of version 5 made on Chinese Windows keeps its strings (font names, texts, the texts its
// actions set) in GBK: it shows the very picture of its twin of version 8 in UTF-8, its Chinese as
// Chinese and not as Latin letters.
TEST_F(MovieTest, AnOldMovieInTheChineseCodePageShowsItsChineseAsItsUnicodeTwinDoes) {
    FlashPayFrm* twin = open("text-as2.swf");
    ASSERT_TRUE(waitUntil([&] { return twin->flash()->isMovieLoaded(); }, 30000));
    const QImage expected = pictureShowing(*twin->flash(), [](const QImage& image) {
        const auto counts = linePixels(image);
        return std::count(counts.begin(), counts.end(), 0) == 0;
    });
    delete twin;

    FlashPayFrm* viewer = open("text-swf5.swf");
    ASSERT_TRUE(waitUntil([&] { return viewer->flash()->isMovieLoaded(); }, 30000));
    int differing = -1;
    pictureShowing(*viewer->flash(), [&](const QImage& image) {
        differing = differingPixels(image, expected);
        return differing == 0;
    });
    shoot(*viewer, QStringLiteral("device-text-text-swf5.swf"));
    EXPECT_EQ(differing, 0);
}

// Characters beyond GB2312 show, and one the font has no glyph for takes room as a box: each line
// spans as many hanzi as it has characters, measured by the first line, of GB2312 hanzi. (A
// character's side bearings, about a tenth of its width each, are outside what its pixels span.)
TEST_F(MovieTest, EveryChineseKoreanAndJapaneseCharacterShowsWithItsWidthAndAMissingOneLeavesRoom) {
    FlashPayFrm* viewer = open("characters-as2.swf");
    ASSERT_TRUE(waitUntil([&] { return viewer->flash()->isMovieLoaded(); }, 30000));
    const auto spans = [](const QImage& image) {
        std::vector<std::pair<int, int>> spans;
        for (const WideTextLine& line : kWideTextLines)
            spans.push_back(columnsNear(image, line.colour));
        return spans;
    };
    const auto width = [](std::pair<int, int> span) { return span.second - span.first + 1; };
    const QImage image = pictureShowing(*viewer->flash(), [&](const QImage& image) {
        const auto all = spans(image);
        return std::all_of(all.begin(), all.end(), [&](auto span) { return span.first >= 0; });
    });
    shoot(*viewer, QStringLiteral("characters"));
    const auto all = spans(image);
    const double hanzi = width(all[0]) / (kWideTextLines[0].characters - 0.2);
    ASSERT_GT(hanzi, 15);
    for (std::size_t i = 1; i < all.size(); ++i)
        EXPECT_NEAR(width(all[i]), hanzi * (kWideTextLines[i].characters - 0.2), hanzi * 0.45)
            << kWideTextLines[i].text;
}

// A field sized for its lines as Chinese Windows laid them out shows them all: six bands of text,
// the last as high as the first (give or take the rounding of where a line falls).
TEST_F(MovieTest, AFieldSizedForTheLinesOfChineseWindowsShowsItsLastLine) {
    FlashPayFrm* viewer = open("lines-as2.swf");
    ASSERT_TRUE(waitUntil([&] { return viewer->flash()->isMovieLoaded(); }, 30000));
    const auto whole = [](const std::vector<int>& bands) {
        return bands.size() == kSpacedLines && bands.back() >= bands.front() - 2;
    };
    const QImage image = pictureShowing(
        *viewer->flash(), [&](const QImage& image) { return whole(bandsNear(image, kSpacedColour)); });
    shoot(*viewer, QStringLiteral("spaced-lines"));
    const std::vector<int> bands = bandsNear(image, kSpacedColour);
    ASSERT_EQ(bands.size(), kSpacedLines);
    EXPECT_GE(bands.back(), bands.front() - 2) << "the last line is cut off";
}

// Every movie app of the store, downloaded as the viewer does, plays in one player: Ruffle reads
// it and starts it, neither fails nor logs an error while it runs for a while, and its title
// screen shows Chinese, drawn with the player's font.
TEST_F(MovieTest, EveryStoreGameLoadsInThePlayerWithoutAnErrorAndShowsItsChineseTitle) {
    httplib::Client client(store->site());
    std::vector<viewer::OpenedApp> movies;
    for (int id = 1;; ++id) {
        const std::string link = store->site() + "/appweb/app?id=" + std::to_string(id);
        const auto entry = client.Get("/appweb/app?id=" + std::to_string(id));
        ASSERT_TRUE(entry);
        if (entry->status == 404) break;
        auto app = viewer::OpenedApp::read(link, store->site());
        if (app.IsWidgetApp) movies.push_back(app);
    }
    ASSERT_FALSE(movies.empty());

    FlashPlayer player(players, viewer::PlayerFiles{folder.path() / "player", folder.path() / "Game",
                                                    folder.path() / "Saves"});
    player.resize(550, 400);
    player.show();
    ASSERT_TRUE(
        waitUntil([&] { return !player.page()->url().isEmpty() && !player.page()->isLoading(); }, 30000));
    // Ruffle logs what goes wrong inside a movie as console errors.
    bool hooked = false;
    player.page()->runJavaScript(
        "window.errors = []; const log = console.error.bind(console);"
        "console.error = (...a) => { window.errors.push(a.join(' ')); log(...a); }; true",
        [&](const QVariant&) { hooked = true; });
    ASSERT_TRUE(waitUntil([&] { return hooked; }, 10000));

    for (const auto& app : movies) {
        const std::string& file = app.CurrentApp.MovieFile;
        SCOPED_TRACE(file);
        const auto movie = client.Get(app.CurrentApp.ContentUrl.substr(store->site().size()));
        ASSERT_TRUE(movie && movie->status == 200);
        std::ofstream(folder.path() / "Game" / file, std::ios::binary) << movie->body;

        QSignalSpy failed(&player, &FlashPlayer::movieFailed);
        player.setMovie(QString::fromStdString((folder.path() / "Game" / file).string()),
                        QString::fromStdString(app.CurrentApp.ContentUrl));
        EXPECT_TRUE(waitUntil([&] { return player.isMovieLoaded(); }, 30000));

        const auto title = std::find_if(std::begin(kChineseTitles), std::end(kChineseTitles),
                                        [&](const ChineseTitle& t) { return file == t.movie; });
        ASSERT_NE(title, std::end(kChineseTitles)) << "no Chinese title known for this game";
        // A picture now and then: taking one takes a while, which the page needs to draw.
        int pixels = 0;
        QElapsedTimer taken;
        waitUntil(
            [&] {
                if (taken.isValid() && taken.elapsed() < 300) return false;
                taken.start();
                pixels = pixelsNear(player, title->where, title->colour);
                return pixels >= 50;
            },
            20000);
        shoot(player, QStringLiteral("store-game-%1").arg(QString::fromStdString(file).section('.', 0, 0)));
        EXPECT_GE(pixels, 50) << "too little of the game's Chinese title is drawn";

        // The movie has run up to its title screen: what went wrong on the way has been reported.
        EXPECT_EQ(failed.count(), 0) << failed.value(0).value(0).toString().toStdString();
        // Each script runs in the page's global scope, so the reading declares nothing there.
        const QVariant errors =
            evaluate(*player.page(),
                     "(() => { const e = window.errors.join('\\n'); window.errors = []; return e; })()");
        ASSERT_EQ(errors.typeId(), QMetaType::QString) << "the errors could not be read";
        EXPECT_TRUE(errors.toString().isEmpty()) << errors.toString().toStdString();
    }
}

// A game that reports to its page with ExternalInterface goes on with its start: the page is there,
// the calls give null as on a page without the function, and no script of the movie's runs.
TEST_F(MovieTest, AMovieThatCallsItsPageGetsNullAndGoesOnWhileNoScriptOfItsRuns) {
    FlashPayFrm* viewer = open("pagecall.swf");
    const auto painted = [](const QImage& p) {
        return sampledNear(p, qRgb(0, 255, 0)) + sampledNear(p, qRgb(255, 0, 0)) > 1000;
    };
    const QImage picture = pictureShowing(*viewer->flash(), painted);
    shoot(*viewer, QStringLiteral("movie-page-call"));
    ASSERT_TRUE(painted(picture)) << "the movie stopped at a call to its page";
    EXPECT_EQ(sampledNear(picture, qRgb(255, 0, 0)), 0) << "the page was missing or a call gave no null";
    EXPECT_NE(evaluate(*viewer->flash()->page(), QStringLiteral("document.title")).toString(),
              QStringLiteral("ran"));
}

// The links of a game's buttons open in the browser: web addresses in a new window, one per click
// or key press, none without one and none of another kind; a relative one beside the movie on the
// store. Its fscommands switch full screen, show the stage at its own size and close the viewer.
TEST_F(MovieTest, AMoviesLinksOpenOncePerPressAndItsCommandsReachTheViewer) {
    FlashPayFrm* viewer = open("links.swf");
    const QPointer<FlashPayFrm> alive(viewer);
    FlashPlayer* player = viewer->flash();
    std::vector<std::string> opened;
    player->setUrlOpener([&](const QUrl& url) { opened.push_back(url.toString().toStdString()); });
    // Whether the player comes to show what shown() wants; picture is the last one taken.
    QImage picture;
    const auto comesToShow = [&](const std::function<bool(const QImage&)>& shown) {
        picture = pictureShowing(*player, shown);
        return shown(picture);
    };
    // Blue once the movie has tried its link at the start, with no press.
    ASSERT_TRUE(comesToShow([](const QImage& p) { return sampledNear(p, qRgb(0, 0, 255)); }));
    const QRect fitted = boundsNear(picture, qRgb(255, 0, 0));

    QWidget* input = player->focusProxy() ? player->focusProxy() : player;
    const auto click = [&] { QTest::mouseClick(input, Qt::LeftButton, {}, input->rect().center()); };
    // A press each for a javascript:, a file: and a brindle: address, seen in the stage's colour.
    for (const QRgb colour : {qRgb(0, 255, 255), qRgb(255, 0, 255), qRgb(0, 255, 0)}) {
        click();
        ASSERT_TRUE(comesToShow([&](const QImage& p) { return sampledNear(p, colour); }));
    }
    click();
    ASSERT_TRUE(waitUntil([&] { return opened.size() >= 1; })) << "a click opened nothing";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_L);
    ASSERT_TRUE(waitUntil([&] { return opened.size() >= 2; })) << "a key press opened nothing";
    // What a press opened wrongly would come before what the next press opens. A relative link
    // goes beside the movie in its store folder.
    EXPECT_EQ(opened, std::vector<std::string>({"http://127.0.0.1:9/more?press=4",
                                                store->site() + "/widget/swf/more/games.html?press=5"}));
    EXPECT_NE(evaluate(*player->page(), QStringLiteral("document.title")).toString(), QStringLiteral("ran"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F);
    ASSERT_TRUE(waitUntil([&] { return viewer->fullScreen(); })) << "fscommand fullscreen true";
    EXPECT_EQ(viewer->GameSStabs()->tabCaption(4), QStringLiteral("退出全屏"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_N);
    ASSERT_TRUE(waitUntil([&] { return !viewer->fullScreen(); })) << "fscommand fullscreen false";
    EXPECT_EQ(viewer->GameSStabs()->tabCaption(4), QStringLiteral("全屏应用"));

    // The 50 x 50 square at the stage's corner, fitted to the player, then at its own size, then
    // fitted again.
    EXPECT_GT(fitted.width(), 60);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S);
    EXPECT_TRUE(comesToShow([](const QImage& p) {
        return boundsNear(p, qRgb(255, 0, 0)).size() == QSize(50, 50);
    })) << "allowscale false left the size at "
        << boundsNear(picture, qRgb(255, 0, 0)).width();
    shoot(*viewer, QStringLiteral("movie-links-no-scale"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A);
    EXPECT_TRUE(comesToShow([&](const QImage& p) {
        return boundsNear(p, qRgb(255, 0, 0)).size() == fitted.size();
    })) << "allowscale true left the size at "
        << boundsNear(picture, qRgb(255, 0, 0)).width();

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q);
    EXPECT_TRUE(waitUntil([&] { return !alive; })) << "fscommand quit left the viewer open";
}

// A game on a stage narrower than the player shows its background colour over the whole player,
// and what it draws beyond its stage's edges, in the window and in full screen. One whose first
// frame turns its scaling off, or its third behind a preloader, shows its stage at its own size in
// the middle, with what it draws beyond every edge around it.
TEST_F(MovieTest, AMoviesBackgroundFillsThePlayerWithWhatItDrawsBeyondItsStage) {
    const QRgb blue = qRgb(0x33, 0x66, 0xcc), yellow = qRgb(255, 255, 0);
    for (const std::string movie : {"beyond.swf", "unscaled-as2.swf", "unscaled-late-as2.swf"}) {
        FlashPayFrm* viewer = open(movie);
        const bool unscaled = movie != "beyond.swf";
        for (const bool fullScreen : {false, true}) {
            SCOPED_TRACE(movie + (fullScreen ? " in full screen" : " in the window"));
            if (fullScreen) viewer->GameSStabs()->setCurrentTab(4);
            ASSERT_EQ(viewer->fullScreen(), fullScreen);
            // Blue and yellow only, but for the edges between them; unscaled, yellow right beyond
            // a blue stage of 300 x 300 around the middle.
            const auto filled = [&](const QImage& p) {
                const int blues = sampledNear(p, blue), yellows = sampledNear(p, yellow);
                if (blues == 0 || yellows == 0 || blues + yellows < samples(p) * 98 / 100) return false;
                const QPoint middle = p.rect().center();
                const auto stage = [&](QPoint step) {
                    QPoint from = middle, to = middle;
                    while (p.rect().contains(from - step) && near(p.pixel(from - step), blue))
                        from -= step;
                    while (p.rect().contains(to + step) && near(p.pixel(to + step), blue))
                        to += step;
                    const QPoint out = step * 4;
                    const bool yellowBeyond = p.rect().contains(from - out) && p.rect().contains(to + out) &&
                                              near(p.pixel(from - out), yellow) &&
                                              near(p.pixel(to + out), yellow);
                    return yellowBeyond ? QPoint(to - from).manhattanLength() + 1 : 0;
                };
                return !unscaled ||
                       (std::abs(stage({1, 0}) - 300) <= 2 && std::abs(stage({0, 1}) - 300) <= 2);
            };
            const QImage picture = pictureShowing(*viewer->flash(), filled);
            shoot(*viewer, QStringLiteral("movie-%1-%2")
                               .arg(QString::fromStdString(movie).section('.', 0, 0),
                                    fullScreen ? "full-screen" : "window"));
            EXPECT_TRUE(filled(picture))
                << "bars beside the stage or the stage scaled: " << sampledNear(picture, qRgb(0, 0, 0))
                << " black of " << samples(picture);
        }
        viewer->close();
    }
}

// Saves that cannot be written (a file stands where the saves folder should be) are said in the
// viewer, once for the game, also across reloads; the movie plays on.
TEST_F(MovieTest, SavesThatCannotBeWrittenAreSaidOnceForTheGame) {
    fs::remove_all(folder.path() / "Saves");
    std::ofstream(folder.path() / "Saves") << "a file where the saves folder should be";
    const viewer::SaveWriter& writer = players.writer();
    FlashPayFrm* viewer = open("plays.swf");
    ASSERT_TRUE(waitUntil([&] { return viewer->savesNote()->isVisible(); }, 30000));
    EXPECT_EQ(viewer->savesNote()->text().toStdString(), viewer::SavesNotWrittenNote);
    shoot(*viewer, QStringLiteral("movie-saves-not-written"));
    EXPECT_TRUE(viewer->flash()->isMovieLoaded());

    // The counter flushes every 100 ms, and every write fails, also after a reload; the note is
    // not said again.
    viewer->savesNote()->hide();
    QSignalSpy loaded(viewer->flash(), &FlashPlayer::movieLoaded);
    viewer->GameSStabs()->setCurrentTab(viewer::ReloadTab);
    ASSERT_TRUE(loaded.count() > 0 || loaded.wait(30000));
    const int failures = writer.failures();
    ASSERT_TRUE(waitUntil([&] { return writer.failures() > failures + 3; }, 30000));
    QCoreApplication::processEvents(); // the reports of those failures
    EXPECT_FALSE(viewer->savesNote()->isVisible());
    EXPECT_TRUE(fs::is_regular_file(folder.path() / "Saves"));
}
