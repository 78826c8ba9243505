// Which movies start with their scaling off: those whose main timeline says fscommand("allowscale",
// "false") in any of the forms Flash compiled it to, compressed or not, however far into the movie
// those actions lie: in the first frame, or later (behind a preloader) and never "true".

#include "viewer/UnscaledMovie.h"

#include "LittleEndian.h"
#include "SwfWriter.h"
#include "viewer/CompressedMovie.h"
#include "viewer/PreloaderFrames.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace swf;
namespace {

bool startsUnscaled(const std::string& movie) {
    std::istringstream in(movie);
    return viewer::startsUnscaled(in);
}

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

// A movie of frames, each running its actions, with filler bytes of a definition (a bitmap) before
// the third frame, where a game comes after its preloader.
std::string timeline(const std::vector<Actions>& frames) {
    MovieWriter writer(200, 100, 12, {255, 255, 255});
    writer.setVersion(8);
    for (std::size_t frame = 0; frame < frames.size(); ++frame) {
        if (frame == 2)
            for (char part = 0; part < 5; ++part)
                writer.tag(20, std::string(60000, part));
        writer.doAction(frames[frame]);
        writer.showFrame();
    }
    return writer.bytes();
}

std::vector<Actions> operator+(std::vector<Actions> frames, const std::vector<Actions>& more) {
    frames.insert(frames.end(), more.begin(), more.end());
    return frames;
}

} // namespace

TEST(UnscaledMovieTest, AMainTimelineThatTurnsScalingOffStartsAMovieUnscaled) {
    const Actions off = getUrl("FSCommand:allowscale", "false"), on = getUrl("FSCommand:allowscale", "true");
    std::string pool;
    u16(pool, 2);
    Actions fromPool;
    fromPool.record(0x88, pool + "false" + '\0' + "fscommand:AllowScale" + '\0')
        .record(0x96, std::string("\x08\x01\x08\x00", 4))
        .record(0x9A, std::string(1, '\0'));
    // Turned off in the first frame (whatever comes later, as the first frame says), or behind a
    // preloader and never on; also in a movie cut short after it.
    const std::string late = timeline(preloaderFrames() + std::vector<Actions>{off, {}});
    for (const std::string& m :
         {movie(off), movie(getUrl("fscommand:AllowScale", "FALSE")),
          movie(getUrl2("FSCommand:allowscale", "false")), movie(getUrl2("FSCommand:allowscale", false)),
          movie(fromPool), compressed(movie(off, 0, 300000)), movie(off, 1), late, compressed(late),
          compressed(
              timeline(preloaderFrames() + std::vector<Actions>{getUrl2("FSCommand:allowscale", false)})),
          compressed(timeline({off, {}, on})), late.substr(0, late.size() - 8)})
        EXPECT_TRUE(startsUnscaled(m));
    // A movie of ActionScript 3 runs no frame actions.
    MovieWriter as3(200, 100, 12, {255, 255, 255});
    as3.tag(69, std::string("\x08\0\0\0", 4));
    as3.doAction(off);
    as3.showFrame();
    Actions popped;
    popped.push({"FSCommand:allowscale", "false"}).op(Op::Pop).record(0x9A, std::string(1, '\0'));
    // Other commands and links, and a timeline that turns scaling both off and on after its first
    // frame, in either order.
    for (const std::string& m :
         {movie(on), movie(getUrl("FSCommand:showmenu", "false")),
          movie(getUrl("http://s/allowscale", "false")), movie(getUrl2("FSCommand:allowscale", true)),
          movie(popped), as3.bytes(),
          compressed(
              timeline(preloaderFrames() + std::vector<Actions>{off, getUrl2("FSCommand:allowscale", true)})),
          compressed(timeline({on, {}, off})),
          compressed(timeline(preloaderFrames() + std::vector<Actions>(1)))})
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
