#include "viewer/LocalMovie.h"

#include "TempDir.h"
#include "viewer/MoviePlace.h"
#include "viewer/PlayerFiles.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using viewer::LocalMovie;
using viewer::MoviePlace;
namespace fs = std::filesystem;

namespace {

void write(const fs::path& file, const std::string& bytes = "FWS\x0a") {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

} // namespace

TEST(LocalMovieTest, OnlyAReadableMovieOpensAndEveryOtherFileSaysWhyWithItsPath) {
    TempDir dir;
    const fs::path games = dir.path() / "我的 游戏";
    for (const char* head : {"FWS", "CWS", "ZWS"})
        write(games / (std::string(head) + ".swf"), std::string(head) + "\x0a rest");
    write(games / "text.swf", "<html>");
    write(games / "short.swf", "FW");
    write(games / "empty.swf", "");
    fs::create_directory(games / "folder.swf");
    fs::create_symlink(games / "loop.swf", games / "loop.swf");
    fs::create_symlink(games / "FWS.swf", games / "alias.swf");

    for (const char* name : {"FWS.swf", "CWS.swf", "ZWS.swf"})
        EXPECT_EQ(LocalMovie::check(games / name).problem, LocalMovie::Problem::None) << name;
    // A link opens the file it leads to, which is then the movie's path (and so its saves').
    EXPECT_EQ(LocalMovie::check(games / "alias.swf").file, fs::canonical(games / "FWS.swf"));

    const std::pair<const char*, LocalMovie::Problem> refused[] = {
        {"missing.swf", LocalMovie::Problem::Missing}, {"loop.swf", LocalMovie::Problem::Unreadable},
        {"text.swf", LocalMovie::Problem::NotAMovie},  {"short.swf", LocalMovie::Problem::NotAMovie},
        {"empty.swf", LocalMovie::Problem::NotAMovie}, {"folder.swf", LocalMovie::Problem::NotAMovie}};
    for (const auto& [name, problem] : refused) {
        const LocalMovie movie = LocalMovie::check(games / name);
        EXPECT_EQ(movie.problem, problem) << name;
        EXPECT_NE(movie.note().find((games / name).filename().string()), std::string::npos) << movie.note();
    }
    EXPECT_EQ(LocalMovie::check(games / "missing.swf").note(),
              "找不到文件“" + (games / "missing.swf").string() + "”。");
    EXPECT_EQ(LocalMovie::check(games / "text.swf").note(),
              "“" + fs::canonical(games / "text.swf").string() + "”不是 Flash 游戏文件（SWF），无法打开。");
    EXPECT_TRUE(LocalMovie::check(games / "FWS.swf").note().empty());
}

TEST(LocalMovieTest, CommandLineNamesAndAddressesBecomeOnePathAndBack) {
    const fs::path here = "/home/u/游戏";
    EXPECT_EQ(LocalMovie::pathOf("a.swf", here), here / "a.swf");
    EXPECT_EQ(LocalMovie::pathOf("../b/./a.swf", here), fs::path("/home/u/b/a.swf"));
    EXPECT_EQ(LocalMovie::pathOf("/x/a.swf", here), fs::path("/x/a.swf"));
    EXPECT_EQ(LocalMovie::pathOf("file:///x/a%20b%E6%B8%B8.swf", here), fs::path("/x/a b游.swf"));
    EXPECT_EQ(LocalMovie::pathOf("FILE://localhost/x/a.swf", here), fs::path("/x/a.swf"));
    // Addresses of no local file stay as they are, a file that is then missing.
    for (const char* address :
         {"file://host/x/a.swf", "file:///x/../a.swf", "file:a.swf", "file:///x/a.swf?q"})
        EXPECT_EQ(LocalMovie::pathOf(address, here), fs::path(address)) << address;

    // The app a file opens as: named after it, its address leading back to the same file.
    const LocalMovie movie{"/x/my game#1 %.swf", LocalMovie::Problem::None};
    const auto app = movie.app();
    EXPECT_TRUE(app.IsWidgetApp);
    EXPECT_TRUE(app.IsLocalFile);
    EXPECT_EQ(app.CurrentApp.Name, "my game#1 %");
    EXPECT_EQ(app.Link, "file:///x/my%20game%231%20%25.swf");
    EXPECT_EQ(LocalMovie::pathOf(app.Link, here), movie.file);
    const auto place = MoviePlace::of(app.CurrentApp.ContentUrl);
    ASSERT_TRUE(place);
    EXPECT_TRUE(place->isLocal());
    EXPECT_EQ(place->movieOnDisk("/Game"), movie.file);
    EXPECT_EQ(place->siteFolder("/Game"), fs::path("/x"));
}

TEST(LocalMovieTest, SavesFollowTheFullPathSoSameNamesInTwoFoldersNeverShare) {
    const auto a = MoviePlace::of("file:///games/a/files.swf");
    const auto b = MoviePlace::of("file:///games/b/files.swf");
    const auto other = MoviePlace::of("file:///games/a/other.swf");
    const auto store = MoviePlace::of("http://local/games/a/files.swf");
    ASSERT_TRUE(a && b && other && store);
    EXPECT_NE(a->savesName(), b->savesName());
    EXPECT_NE(a->savesName(), other->savesName());
    EXPECT_NE(a->savesName(), store->savesName());
    EXPECT_EQ(a->site(), other->site());
    EXPECT_EQ(a->savesName(), MoviePlace::savesNameOf(a->movieFile().string()));
    EXPECT_EQ(a->savesName(), MoviePlace::of("file:///games/a/files.swf")->savesName());
    EXPECT_FALSE(store->isLocal());
    for (const char* address : {"file:///games/../a.swf", "file:///games//a.swf", "file://games/a.swf",
                                "file:///games/a.swf#x", "file:///games/%2e%2e/a.swf", "file:///"})
        EXPECT_FALSE(MoviePlace::of(address)) << address;
}

TEST(LocalMovieTest, ALocalMovieLoadsWhatItsFolderHoldsAtAnyDepthAndNothingElseNorFetches) {
    TempDir dir;
    const fs::path folder = dir.path() / "games";
    write(folder / "game.swf");
    write(folder / "data" / "deep" / "~level.xml", "x");
    write(folder / ".hidden.txt", "x");
    write(dir.path() / "secret.txt", "x");
    fs::create_symlink(dir.path() / "secret.txt", folder / "link.txt");
    fs::create_symlink(dir.path(), folder / "up");
    fs::create_symlink(folder / "data" / "deep" / "~level.xml", folder / "inside.xml");
    const auto place = MoviePlace::of(LocalMovie{folder / "game.swf", LocalMovie::Problem::None}.address());
    ASSERT_TRUE(place);
    const viewer::PlayerFiles files{dir.path() / "player", dir.path() / "Game", dir.path() / "Saves"};

    const std::string prefix = "/Game/" + place->site() + "/";
    // Names as they are on disk, not as a store file would be kept in Game.
    EXPECT_EQ(files.siteFile(*place, *files.siteRelative(*place, prefix + "data/deep/~level.xml")),
              folder / "data" / "deep" / "~level.xml");
    EXPECT_EQ(files.siteFile(*place, ".hidden.txt"), folder / ".hidden.txt");
    EXPECT_EQ(files.siteFile(*place, "inside.xml"), folder / "inside.xml");
    for (const char* relative : {"link.txt", "up/secret.txt", "missing.txt", "data"})
        EXPECT_FALSE(files.siteFile(*place, relative)) << relative;
    for (const std::string& path : {prefix + "../secret.txt", prefix + "a/../../secret.txt",
                                    prefix + "..\\secret.txt", std::string("/Game/secret.txt")})
        EXPECT_FALSE(files.siteRelative(*place, path)) << path;
    EXPECT_FALSE(files.siteFetchTarget(*place, "new.txt"));
    EXPECT_FALSE(fs::exists(dir.path() / "Game"));
}
