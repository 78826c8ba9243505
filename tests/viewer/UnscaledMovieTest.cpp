// Which movies start with their scaling off: those whose first frame says fscommand("allowscale",
// "false"), compressed or not, however far into the movie that frame's actions lie.

#include "viewer/UnscaledMovie.h"

#include "SwfWriter.h"
#include "viewer/CompressedMovie.h"

#include <gtest/gtest.h>

using namespace swf;
using viewer::startsUnscaled;

namespace {

// A movie whose frame (0 the first) runs the link to url with target, after filler bytes of
// other tags.
std::string movie(const std::string& url, const std::string& target, int frame = 0, std::size_t filler = 0) {
    MovieWriter writer(200, 100, 12, {255, 255, 255});
    writer.setVersion(8);
    for (std::size_t i = 0; i < filler; i += 60000)
        writer.tag(77, std::string(60000, 'x')); // metadata
    for (int i = 0; i < frame; ++i)
        writer.showFrame();
    Actions actions;
    actions.push({"ignored"}).op(Op::Pop).record(0x83, url + '\0' + target + '\0').op(Op::Stop);
    writer.doAction(actions);
    writer.showFrame();
    return writer.bytes();
}

} // namespace

TEST(UnscaledMovieTest, OnlyAFirstFrameThatTurnsScalingOffStartsAMovieUnscaled) {
    for (const std::string& m :
         {movie("FSCommand:allowscale", "false"), movie("fscommand:AllowScale", "FALSE"),
          compressed(movie("FSCommand:allowscale", "false", 0, 300000))})
        EXPECT_TRUE(startsUnscaled(m));
    for (const std::string& m :
         {movie("FSCommand:allowscale", "true"), movie("FSCommand:showmenu", "false"),
          movie("http://s/allowscale", "false"), movie("FSCommand:allowscale", "false", 1),
          compressed(movie("FSCommand:allowscale", "false", 1, 300000))})
        EXPECT_FALSE(startsUnscaled(m));
    // Cut short before its actions, damaged or no movie at all.
    const std::string whole = compressed(movie("FSCommand:allowscale", "false", 0, 300000));
    EXPECT_FALSE(startsUnscaled(whole.substr(0, whole.size() / 2)));
    std::string broken = whole;
    broken[12] ^= 0x55;
    EXPECT_FALSE(startsUnscaled(broken));
    EXPECT_FALSE(startsUnscaled("FWS"));
    EXPECT_FALSE(startsUnscaled(""));
}
