#include "SwfReader.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <set>

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

// Every folder of games/ but common/ is a game: it builds into NAME.swf, a compressed movie of the
// store's stage that starts a document class in ActionScript 3 (Haxe's boot class, which runs
// Main), and no two games are the same movie.
TEST(StoreGames, EveryGameBuildsIntoAValidMovie) {
    std::set<std::string> games, movies;
    for (const auto& entry : fs::directory_iterator(GAMES_SOURCE_DIR))
        if (entry.is_directory() && entry.path().filename() != "common")
            games.insert(entry.path().filename());
    EXPECT_FALSE(games.empty());
    for (const auto& game : games) {
        SCOPED_TRACE(game);
        EXPECT_TRUE(fs::exists(fs::path(GAMES_SOURCE_DIR) / game / "Main.hx"));
        const std::string bytes = readFile(fs::path(GAMES_BUILD_DIR) / (game + ".swf"));
        ASSERT_FALSE(bytes.empty()) << "not built";
        EXPECT_TRUE(movies.insert(bytes).second) << "the same movie as another game";
        EXPECT_LT(bytes.size(), 200u * 1024);
        swf::MovieSummary movie;
        ASSERT_NO_THROW(movie = swf::readMovie(bytes));
        EXPECT_TRUE(movie.compressed);
        EXPECT_EQ(movie.version, 10);
        EXPECT_EQ(movie.widthPx, 550);
        EXPECT_EQ(movie.heightPx, 400);
        EXPECT_EQ(movie.frameRate, 30);
        EXPECT_TRUE(movie.actionScript3);
        EXPECT_GE(movie.scriptBlocks, 1);
        EXPECT_FALSE(movie.documentClass.empty());
    }
}
