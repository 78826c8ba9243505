#include "viewer/MovieDownload.h"

#include <gtest/gtest.h>

using namespace viewer;

namespace {
AppDetail movieApp(std::string url, std::string file) {
    AppDetail app;
    app.ContentUrl = std::move(url);
    app.MovieFile = std::move(file);
    return app;
}
} // namespace

TEST(MovieDownload, UsesOnlyPlainNamesThatTheDownloadSavesUnder) {
    const auto place = moviePlaceOf(movieApp("http://s/widget/swf/snake.swf", "snake.swf"));
    ASSERT_TRUE(place);
    EXPECT_EQ(place->movieFile().filename(), "snake.swf");
    const AppDetail refused[] = {
        movieApp("", ""),                                          // a page app
        movieApp("http://s/swf/..", ".."),                         // the Game folder's parent
        movieApp("http://s/swf/.", "."),                           // the Game folder itself
        movieApp("http://s/swf/", ""),                             // nothing after the last "/"
        movieApp("http://s/a\\..\\..\\x.swf", "a\\..\\..\\x.swf"), // the download would cut at "\"
        movieApp("http://s/a\nb.swf", "a\nb.swf"),                 // a control character
        movieApp("http://s/other.swf", "snake.swf"),               // saved under another name than looked for
    };
    for (const AppDetail& app : refused)
        EXPECT_FALSE(moviePlaceOf(app)) << app.MovieFile;
}

TEST(MovieDownload, ProgressRoundsHalvesToEvenAndHoldsAt100) {
    EXPECT_EQ(progressValue(0.125f), 12);
    EXPECT_EQ(progressValue(0.375f), 38);
    EXPECT_EQ(progressValue(0.0f), 0);
    EXPECT_EQ(progressValue(1.0f), 100);
    EXPECT_EQ(progressValue(0.996f), 100);
    EXPECT_EQ(progressValue(1.5f), 100);
    EXPECT_EQ(progressValue(1e9f), 100);
}
