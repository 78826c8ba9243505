#include "viewer/MoviePlace.h"

#include "TempDir.h"
#include "viewer/PlayerFiles.h"

#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <utility>
#include <vector>

using viewer::MoviePlace;
namespace fs = std::filesystem;

namespace {

std::string site(std::string_view url) {
    return MoviePlace::of(url).value().site();
}

// Whether text is whole UTF-8 characters (a cut never splits one).
bool wholeCharacters(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t length = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
        if (length == 0 || i + length > text.size()) return false;
        i += length;
    }
    return true;
}

} // namespace

TEST(MoviePlaceTest, EveryStoreFolderHasASiteOfItsOwn) {
    const auto place = MoviePlace::of("http://Store.example:8780/widget/swf/a/main.swf?level=2#x");
    ASSERT_TRUE(place);
    EXPECT_EQ(place->siteAddress(), "http://store.example:8780/widget/swf/a/");
    EXPECT_TRUE(place->site().starts_with("store.example_8780~")) << place->site();
    EXPECT_EQ(place->movieName(), "main.swf");
    EXPECT_EQ(place->query(), "level=2");
    EXPECT_EQ(place->movieFile(), fs::path(place->site()) / "main.swf");
    EXPECT_EQ(place->savesName(), place->site() + "~main.swf");

    // The same movie name in other folders, hosts, ports or schemes lives elsewhere; other movies of
    // the same folder share its site.
    const std::string a = site("http://s:1/widget/swf/a/main.swf");
    EXPECT_EQ(site("http://s:1/widget/swf/a/other.swf?x=1"), a);
    for (const char* other : {"http://s:1/widget/swf/b/main.swf", "http://s:1/widget/swf/main.swf",
                              "http://s:2/widget/swf/a/main.swf", "https://s:1/widget/swf/a/main.swf",
                              "http://t:1/widget/swf/a/main.swf", "http://s:1/widget/swf/a/b/main.swf"})
        EXPECT_NE(site(other), a) << other;

    // A name is taken decoded; one that decodes to no plain name gives no place.
    EXPECT_EQ(MoviePlace::of("http://s/%E6%B8%B8%E6%88%8F.swf")->movieName(), "游戏.swf");
    for (const char* refused : {"http://s/a/%2E%2E", "http://s/a/..", "http://s/a%2Fb.swf", "http://s/a/",
                                "http://s/a%00.swf", "ftp://s/a.swf", "http:///a.swf"})
        EXPECT_FALSE(MoviePlace::of(refused)) << refused;
}

// A movie's links that Ruffle resolved against its folder on the player's scheme name the store.
TEST(MoviePlaceTest, AMoviesRelativeLinksNameItsStoreFolder) {
    const auto place = MoviePlace::of("http://s:1/widget/swf/main.swf?level=2").value();
    const std::string folder = "/Game/" + place.site() + "/";
    const std::pair<std::string, std::string> links[] = {
        {folder + "more.html?id=%E6%B8%B8#top", "http://s:1/widget/swf/more.html?id=%E6%B8%B8#top"},
        {folder + "a/b.html", "http://s:1/widget/swf/a/b.html"},
        {folder, "http://s:1/widget/swf/"},
        {"/Game/up.html?x", "http://s:1/widget/up.html?x"},
        {"/Game/", "http://s:1/widget/"},
        {"/index.html", "http://s:1/index.html"},
    };
    for (const auto& [link, address] : links)
        EXPECT_EQ(place.linkAddressOf(link), address) << link;
    EXPECT_EQ(MoviePlace::of("https://s/m.swf")->linkAddressOf("/Game/up.html"), "https://s/up.html");
    EXPECT_FALSE(place.linkAddressOf("more.html"));
    // A local movie's links name files of the player's own.
    EXPECT_FALSE(MoviePlace::of("file:///home/u/m.swf")->linkAddressOf("/Game/x/more.html"));
}

TEST(MoviePlaceTest, AnyNameFromTheStoreMapsToOneSafeFileName) {
    const std::string latin(300, 'a');
    std::string chinese;
    for (int i = 0; i < 86; ++i)
        chinese += "游";
    const std::string names[] = {latin + ".swf",
                                 latin + "b.swf",
                                 chinese + ".swf",
                                 chinese + "戏.swf",
                                 ".hidden.swf",
                                 "a~b.swf",
                                 "~",
                                 std::string(150, 'x'),
                                 std::string(151, 'x')};
    std::set<std::string> safe;
    for (const auto& name : names) {
        const std::string kept = MoviePlace::safeName(name);
        EXPECT_TRUE(viewer::isPlainFileName(kept)) << kept;
        EXPECT_FALSE(kept.starts_with('.')) << kept;
        EXPECT_TRUE(wholeCharacters(kept)) << kept;
        // With the longest site a host gives, the saves folder still fits in a file name.
        const auto place = MoviePlace::of("http://" + std::string(300, 'h') + ":65535/x/" + name);
        ASSERT_TRUE(place) << name;
        EXPECT_LE(place->savesName().size(), 255u) << name;
        safe.insert(kept);
    }
    EXPECT_EQ(safe.size(), std::size(names)); // no two names share a file
    EXPECT_EQ(MoviePlace::safeName("main.swf"), "main.swf");
    EXPECT_EQ(MoviePlace::safeName(std::string(150, 'x')), std::string(150, 'x'));
    EXPECT_TRUE(MoviePlace::safeName(latin + ".swf").ends_with(".swf"));
    EXPECT_TRUE(MoviePlace::safeName(chinese + ".swf").starts_with("游游"));

    // Paths below the site folder: any depth, but never "..", ".", empty names, "\" or control bytes.
    EXPECT_EQ(MoviePlace::diskPathOf("data/img/a.png"), fs::path("data/img/a.png"));
    EXPECT_EQ(MoviePlace::diskPathOf("%2E%2E/x"), fs::path("%2E%2E/x")); // decoded already: a plain name
    std::string deep;
    for (int i = 0; i < 33; ++i)
        deep += "d/";
    for (const std::string& hostile : std::vector<std::string>{"", "..", "a/../../b", "./a", "a//b", "a/",
                                                               "/a", "..\\x", "a\nb", deep + "x"})
        EXPECT_FALSE(MoviePlace::diskPathOf(hostile)) << hostile;
}

TEST(MoviePlaceTest, SavesFoldersOfTheLibrarysMovieFiles) {
    EXPECT_EQ(MoviePlace::savesNameOf("s_1~0123456789abcdef/main.swf"), "s_1~0123456789abcdef~main.swf");
    EXPECT_EQ(MoviePlace::savesNameOf("probe.swf?level=2"), "probe.swf"); // as an earlier version kept it
    for (const char* refused : {"", "a/b/c.swf", "../x.swf", "a/..", "./a.swf", "?x"})
        EXPECT_FALSE(MoviePlace::savesNameOf(refused)) << refused;
}

TEST(MoviePlaceTest, WhatAnEarlierVersionKeptIsTakenOverOnceWithoutOverwriting) {
    TempDir app;
    const fs::path game = app.path() / "Game";
    const fs::path saves = app.path() / "Saves";
    fs::create_directories(game);
    fs::create_directories(saves / "main.swf");
    std::ofstream(game / "main.swf?level=2") << "old movie";
    std::ofstream(saves / "main.swf" / "s.sol") << "old save";

    // Saves shared by other apps of that name stay where they are.
    const auto a = MoviePlace::of("http://s/a/main.swf?level=2").value();
    a.adoptEarlierFiles(game, saves, "main.swf?level=2", [] { return false; });
    EXPECT_TRUE(fs::is_regular_file(saves / "main.swf" / "s.sol"));
    EXPECT_FALSE(fs::exists(saves / a.savesName()));
    a.adoptEarlierFiles(game, saves, "main.swf?level=2", [] { return true; });
    EXPECT_TRUE(fs::is_regular_file(game / a.movieFile()));
    EXPECT_TRUE(fs::is_regular_file(saves / a.savesName() / "s.sol"));
    EXPECT_FALSE(fs::exists(saves / "main.swf")); // moved, so no save is left behind twice
    EXPECT_TRUE(fs::exists(game / "main.swf?level=2"));

    // Another app that named the same file gets the movie too; what a place has stays.
    const auto b = MoviePlace::of("http://s/b/main.swf?level=2").value();
    fs::create_directories(game / b.site());
    std::ofstream(game / b.movieFile()) << "new movie";
    b.adoptEarlierFiles(game, saves, "main.swf?level=2", [] { return true; });
    std::ifstream kept(game / b.movieFile());
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "new movie");
    EXPECT_FALSE(fs::exists(saves / b.savesName()));
    a.adoptEarlierFiles(game, saves, "../x",
                        [] { return true; }); // no name of an earlier version: nothing happens
}
