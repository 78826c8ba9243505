#include "viewer/PlayerFiles.h"

#include "TempDir.h"

#include <fstream>
#include <gtest/gtest.h>

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

TEST_F(PlayerFilesTest, OnlyAMissingPlainNameInGameMayBeFetched) {
    EXPECT_EQ(files.fetchTarget("/Game/beside.xml"), app.path() / "Game" / "beside.xml");
    fs::create_directory(app.path() / "Game" / "dir.xml");
    fs::create_symlink(app.path() / "nowhere", app.path() / "Game" / "dangling.xml");
    for (const char* path : {"/Game/a b.swf", "/Game/dir.xml", "/Game/dangling.xml", "/player/new.js",
                             "/Game/../x.xml", "/Game/sub/x.xml", "/Game/..", "/x.xml", "/Saves/x.sol"})
        EXPECT_FALSE(files.fetchTarget(path)) << path;
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
    using viewer::siblingAddress;
    EXPECT_EQ(siblingAddress("http://s:1/widget/swf/game.swf?level=2", "level2.swf"),
              "http://s:1/widget/swf/level2.swf");
    EXPECT_EQ(siblingAddress("https://s/a/b.swf#x", "a b?#%.xml"), "https://s/a/a%20b%3F%23%25.xml");
    EXPECT_EQ(siblingAddress("http://s/b.swf?x=/y/z", "c.png"), "http://s/c.png");
    EXPECT_EQ(siblingAddress("http://s", "c.png"), "http://s/c.png");
    EXPECT_EQ(siblingAddress("http://s/d/", "图.png"), "http://s/d/%E5%9B%BE.png");
    EXPECT_FALSE(siblingAddress("file:///etc/x.swf", "passwd"));
    EXPECT_FALSE(siblingAddress("", "a.png"));
    EXPECT_FALSE(siblingAddress("http://s/a.swf", "../a.png"));
    EXPECT_FALSE(siblingAddress("http://s/a.swf", ".."));
}
