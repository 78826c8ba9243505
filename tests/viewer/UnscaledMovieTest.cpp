// Which movies start with their scaling off: those whose first frame says fscommand("allowscale",
// "false") in any of the forms Flash compiled it to, compressed or not, however far into the movie
// that frame's actions lie.

#include "viewer/UnscaledMovie.h"

#include "LittleEndian.h"
#include "SwfWriter.h"
#include "viewer/CompressedMovie.h"

#include <gtest/gtest.h>

using namespace swf;
using viewer::startsUnscaled;

namespace {

// The link to url with target, both given.
Actions getUrl(const std::string& url, const std::string& target) {
    Actions a;
    a.record(0x83, url + '\0' + target + '\0');
    return a;
}

// The link to the two values pushed before it.
Actions getUrl2(const Actions::Value& url, const Actions::Value& target) {
    Actions a;
    a.push({url, target}).record(0x9A, std::string(1, '\0'));
    return a;
}

// A movie whose frame (0 the first) runs link, after filler bytes of other tags.
std::string movie(const Actions& link, int frame = 0, std::size_t filler = 0) {
    MovieWriter writer(200, 100, 12, {255, 255, 255});
    writer.setVersion(8);
    for (std::size_t i = 0; i < filler; i += 60000)
        writer.tag(77, std::string(60000, 'x')); // metadata
    for (int i = 0; i < frame; ++i)
        writer.showFrame();
    Actions actions;
    actions.push({"ignored"}).op(Op::Pop).record(0x83, std::string(2, '\0'));
    writer.doAction(actions);
    writer.doAction(link);
    writer.showFrame();
    return writer.bytes();
}

} // namespace

TEST(UnscaledMovieTest, OnlyAFirstFrameThatTurnsScalingOffStartsAMovieUnscaled) {
    const Actions off = getUrl("FSCommand:allowscale", "false");
    std::string pool;
    u16(pool, 2);
    Actions fromPool;
    fromPool.record(0x88, pool + "false" + '\0' + "fscommand:AllowScale" + '\0')
        .record(0x96, std::string("\x08\x01\x08\x00", 4))
        .record(0x9A, std::string(1, '\0'));
    for (const std::string& m :
         {movie(off), movie(getUrl("fscommand:AllowScale", "FALSE")),
          movie(getUrl2("FSCommand:allowscale", "false")), movie(getUrl2("FSCommand:allowscale", false)),
          movie(fromPool), compressed(movie(off, 0, 300000))})
        EXPECT_TRUE(startsUnscaled(m));
    // A movie of ActionScript 3 runs no frame actions.
    MovieWriter as3(200, 100, 12, {255, 255, 255});
    as3.tag(69, std::string("\x08\0\0\0", 4));
    as3.doAction(off);
    as3.showFrame();
    Actions popped;
    popped.push({"FSCommand:allowscale", "false"}).op(Op::Pop).record(0x9A, std::string(1, '\0'));
    for (const std::string& m :
         {movie(getUrl("FSCommand:allowscale", "true")), movie(getUrl("FSCommand:showmenu", "false")),
          movie(getUrl("http://s/allowscale", "false")), movie(getUrl2("FSCommand:allowscale", true)),
          movie(popped), movie(off, 1), compressed(movie(off, 1, 300000)), as3.bytes()})
        EXPECT_FALSE(startsUnscaled(m));
    // Cut short before its actions, damaged or no movie at all.
    const std::string whole = compressed(movie(off, 0, 300000));
    EXPECT_FALSE(startsUnscaled(whole.substr(0, whole.size() / 2)));
    std::string broken = whole;
    broken[12] ^= 0x55;
    EXPECT_FALSE(startsUnscaled(broken));
    EXPECT_FALSE(startsUnscaled("FWS"));
    EXPECT_FALSE(startsUnscaled(""));
}
