#include "MovieCatalogue.h"

#include "SwfReader.h"

#include <gtest/gtest.h>
#include <set>

TEST(MovieCatalogue, EveryMovieIsValidSmallAndMoves) {
    const auto names = swf::movieNames();
    EXPECT_GE(names.size(), 12u);
    std::set<std::string> seen, backgrounds;
    for (const auto& name : names) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(name.ends_with(".swf"));
        EXPECT_EQ(name.find('/'), std::string::npos);
        const auto bytes = swf::movieBytes(name);
        ASSERT_TRUE(bytes);
        EXPECT_TRUE(seen.insert(*bytes).second) << "same movie as another";
        EXPECT_LT(bytes->size(), 200u * 1024);
        swf::MovieSummary movie;
        ASSERT_NO_THROW(movie = swf::readMovie(*bytes));
        EXPECT_EQ(movie.widthPx, 550);
        EXPECT_EQ(movie.heightPx, 400);
        EXPECT_GE(movie.frameCount, 48);
        EXPECT_GE(movie.frameRate, 12);
        backgrounds.insert(std::to_string(movie.background));
        // Visible motion: nearly every frame differs from the one before it.
        int changes = 0;
        for (std::size_t f = 1; f < movie.frames.size(); ++f)
            changes += movie.frames[f] != movie.frames[f - 1];
        EXPECT_GE(changes, movie.frameCount * 3 / 4);
        // The same bytes every time, so a saved copy stays valid.
        EXPECT_EQ(swf::movieBytes(name), bytes);
    }
    EXPECT_GE(backgrounds.size(), names.size() - 2);
    EXPECT_FALSE(swf::movieBytes("missing.swf"));
    EXPECT_FALSE(swf::movieBytes("../blocks.swf"));
}
