#include "viewer/PlayerFiles.h"

#include "TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <vector>

using viewer::PlayerFiles;
namespace fs = std::filesystem;

namespace {

void write(const fs::path& file) {
    std::ofstream(file) << "x";
}

class PlayerFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(app.path() / "player");
        fs::create_directories(app.path() / "Game");
        write(app.path() / "player" / "ruffle.js");
        write(app.path() / "Game" / "a b.swf");
        write(app.path() / "secret.txt");
        files = {app.path() / "player", app.path() / "Game"};
    }
    TempDir app;
    PlayerFiles files;
};

} // namespace

TEST_F(PlayerFilesTest, ServesFilesOfBothFolders) {
    EXPECT_EQ(files.resolve("/player/ruffle.js"), app.path() / "player" / "ruffle.js");
    EXPECT_EQ(files.resolve("/Game/a b.swf"), app.path() / "Game" / "a b.swf");
}

TEST_F(PlayerFilesTest, RefusesEverythingThatCouldLeaveTheFolders) {
    for (const char* path :
         {"/Game/../secret.txt", "/Game/..", "/Game/", "/Game//a b.swf", "/player/./ruffle.js",
          "/Game/sub/a b.swf", "/Game/..\\secret.txt", "/secret.txt", "Game/a b.swf", "", "/game/a b.swf",
          "/Html/x.html", "/Game/missing.swf", "/Game/a b.swf\n"})
        EXPECT_FALSE(files.resolve(path)) << path;
}

TEST_F(PlayerFilesTest, RefusesLinksOutOfTheFolderAndFolders) {
    fs::create_symlink(app.path() / "secret.txt", app.path() / "Game" / "link.swf");
    fs::create_directory(app.path() / "Game" / "dir.swf");
    fs::create_symlink(app.path() / "Game" / "a b.swf", app.path() / "Game" / "alias.swf");
    EXPECT_FALSE(files.resolve("/Game/link.swf"));
    EXPECT_FALSE(files.resolve("/Game/dir.swf"));
    EXPECT_TRUE(files.resolve("/Game/alias.swf")); // a link that stays inside is the same file
}

TEST(PlayerFileNames, PlainNamesOnly) {
    EXPECT_TRUE(viewer::isPlainFileName("game.swf"));
    EXPECT_TRUE(viewer::isPlainFileName("c.swf?x=1"));
    EXPECT_TRUE(viewer::isPlainFileName("游戏.swf"));
    for (const char* name : {"", ".", "..", "a/b.swf", "a\\b.swf", "/", "a\tb.swf", "a\x7f.swf"})
        EXPECT_FALSE(viewer::isPlainFileName(name)) << name;
    EXPECT_FALSE(viewer::isPlainFileName(std::string_view("a\0b", 3)));
}

TEST(PlayerContentTypes, ByExtension) {
    EXPECT_EQ(viewer::contentTypeOf("x/ruffle.WASM"), "application/wasm");
    EXPECT_EQ(viewer::contentTypeOf("core.ruffle.js"), "text/javascript");
    EXPECT_EQ(viewer::contentTypeOf("player.html"), "text/html;charset=utf-8");
    EXPECT_EQ(viewer::contentTypeOf("a.swf"), "application/x-shockwave-flash");
    EXPECT_EQ(viewer::contentTypeOf("LICENSE_MIT"), "application/octet-stream");
}

TEST_F(PlayerFilesTest, AStoreMovieReachesItsSiteFolderAtAnyDepthAndNothingElse) {
    const auto place = viewer::MoviePlace::of("http://s:1/widget/swf/a/game.swf?x=1");
    ASSERT_TRUE(place);
    const fs::path site = app.path() / "Game" / place->site();
    const std::string prefix = "/Game/" + place->site() + "/";
    EXPECT_EQ(files.siteRelative(*place, prefix + "data/deep/c.xml"), "data/deep/c.xml");
    for (const std::string& path : std::vector<std::string>{
             prefix, prefix + "../x.xml", prefix + "a/../../x", prefix + "a//b", prefix + "a\\..\\x",
             "/Game/a b.swf", "/Game/other~0/x.xml", "/player/ruffle.js", "/Game/" + place->site()})
        EXPECT_FALSE(files.siteRelative(*place, path)) << path;

    // Missing: fetched into its folders, made on the way; there: served, never fetched over.
    const auto target = files.siteFetchTarget(*place, "data/deep/c.xml");
    EXPECT_EQ(target, site / "data" / "deep" / "c.xml");
    EXPECT_TRUE(fs::is_directory(site / "data" / "deep"));
    EXPECT_FALSE(files.siteFile(*place, "data/deep/c.xml"));
    write(site / "data" / "deep" / "c.xml");
    EXPECT_EQ(files.siteFile(*place, "data/deep/c.xml"), site / "data" / "deep" / "c.xml");
    EXPECT_FALSE(files.siteFetchTarget(*place, "data/deep/c.xml"));

    // A link inside the site folder leads nowhere outside it, for reading or for fetching into.
    fs::create_symlink(app.path(), site / "out");
    fs::create_symlink(app.path() / "secret.txt", site / "secret.txt");
    EXPECT_FALSE(files.siteFile(*place, "out/secret.txt"));
    EXPECT_FALSE(files.siteFile(*place, "secret.txt"));
    EXPECT_FALSE(files.siteFetchTarget(*place, "out/new.txt"));
    EXPECT_FALSE(fs::exists(app.path() / "new.txt"));
}

TEST(MovieAddressTest, TheQueryOfTheStoreAddressStaysInTheMoviesAddress) {
    auto plain = viewer::movieAddressOf("game.swf");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->name, "game.swf");
    EXPECT_EQ(plain->query, "");
    auto query = viewer::movieAddressOf("game.swf?level=2&mode=a#top");
    ASSERT_TRUE(query);
    EXPECT_EQ(query->name, "game.swf");
    EXPECT_EQ(query->query, "level=2&mode=a");
    EXPECT_EQ(viewer::movieAddressOf("g.swf#a?b")->query, "");
    EXPECT_FALSE(viewer::movieAddressOf("?level=2"));
    EXPECT_FALSE(viewer::movieAddressOf("..?level=2"));
    EXPECT_FALSE(viewer::movieAddressOf(".#x"));
    EXPECT_FALSE(viewer::movieAddressOf(""));
}

TEST(MovieAddressTest, FilesBesideTheMovieComeFromItsStoreFolder) {
    const auto addressOf = [](std::string_view movie, std::string_view relative) {
        return viewer::MoviePlace::of(movie)->addressOf(relative);
    };
    EXPECT_EQ(addressOf("http://s:1/widget/swf/game.swf?level=2", "level2.swf"),
              "http://s:1/widget/swf/level2.swf");
    EXPECT_EQ(addressOf("https://s/a/b.swf#x", "a b?#%.xml"), "https://s/a/a%20b%3F%23%25.xml");
    EXPECT_EQ(addressOf("http://s/b.swf?x=/y/z", "c.png"), "http://s/c.png");
    EXPECT_EQ(addressOf("http://s/d/m.swf", "图/c.png"), "http://s/d/%E5%9B%BE/c.png");
    EXPECT_TRUE(viewer::MoviePlace::of("file:///etc/x.swf")->isLocal()); // a file of the player's own
    EXPECT_FALSE(viewer::MoviePlace::of(""));
    EXPECT_FALSE(viewer::MoviePlace::of("http://s"));
    EXPECT_FALSE(addressOf("http://s/a.swf", "../a.png"));
    EXPECT_FALSE(addressOf("http://s/a.swf", ".."));
    EXPECT_FALSE(addressOf("http://s/a.swf", "a/./b.png"));
}
