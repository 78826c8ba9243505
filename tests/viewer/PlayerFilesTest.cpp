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
