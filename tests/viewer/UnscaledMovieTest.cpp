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

namespace {

std::string code(const Actions& actions) {
    return actions.bytes() + '\0';
}

// A movie of the version whose first frame holds the tag.
std::string movieWith(std::uint16_t tag, const std::string& body, int version = 8) {
    MovieWriter writer(200, 100, 12, {255, 255, 255});
    writer.setVersion(version);
    writer.tag(tag, body);
    writer.showFrame();
    return writer.bytes();
}

// A clip (as DefineSprite) whose one frame runs the actions.
std::string clip(const Actions& frame) {
    std::string out;
    u16(out, 100);
    u16(out, 1);
    return out + tagged(12, code(frame)) + tagged(1, {}) + tagged(0, {});
}

// A button of the later kind (DefineButton2) without records, with actions for each condition.
std::string button(const std::vector<Actions>& conditions) {
    std::string out;
    u16(out, 101);
    u8(out, 0);
    u16(out, 3); // to the first condition's actions, past the records' end
    u8(out, 0);  // no records
    for (std::size_t i = 0; i < conditions.size(); ++i) {
        const std::string actions = code(conditions[i]);
        u16(out, i + 1 == conditions.size() ? 0 : static_cast<std::uint16_t>(4 + actions.size()));
        u16(out, static_cast<std::uint16_t>(0x0004 << i)); // press, release, ...
        out += actions;
    }
    return out;
}

// A clip placed with actions for its enter-frame event, the event flags as wide as the version
// writes them (two bytes before version 6, four from it on).
std::string placedClip(const Actions& onEnterFrame, int version) {
    std::string out;
    u8(out, 0x80 | 0x02); // clip actions, a character
    u16(out, 1);
    u16(out, 100);
    u16(out, 0);
    const auto events = [&](std::uint32_t flags) {
        if (version >= 6)
            u32(out, flags);
        else
            u16(out, static_cast<std::uint16_t>(flags));
    };
    events(0x02); // of all records
    events(0x02);
    const std::string actions = code(onEnterFrame);
    u32(out, static_cast<std::uint32_t>(actions.size()));
    out += actions;
    events(0);
    return out;
}

} // namespace

// Scaling turned off in a clip's timeline or events, a button or a clip's initialisation counts as
// in a later frame: off with nothing turning it on starts the movie unscaled.
TEST(UnscaledMovieTest, ScalingTurnedOffOutsideTheMainTimelineCountsAsALaterFrame) {
    const Actions off = getUrl("FSCommand:allowscale", "false"), on = getUrl("FSCommand:allowscale", "true");
    std::string initialisation;
    u16(initialisation, 100);
    initialisation += code(off);
    std::string firstKindButton;
    u16(firstKindButton, 102);
    u8(firstKindButton, 0); // no records
    firstKindButton += code(getUrl2("FSCommand:allowscale", false));
    for (const std::string& m :
         {movieWith(39, clip(off)), compressed(movieWith(39, clip(off))), movieWith(34, button({{}, off})),
          movieWith(7, firstKindButton), movieWith(26, placedClip(off, 6)),
          movieWith(26, placedClip(off, 5), 5), movieWith(59, initialisation)})
        EXPECT_TRUE(startsUnscaled(m)) << m.size();

    // A button for each (a toggle), or a clip that turns it off where a later frame turns it on.
    MovieWriter offThenOn(200, 100, 12, {255, 255, 255});
    offThenOn.setVersion(8);
    offThenOn.tag(39, clip(off));
    offThenOn.showFrame();
    offThenOn.doAction(on);
    offThenOn.showFrame();
    EXPECT_FALSE(startsUnscaled(movieWith(34, button({off, on}))));
    EXPECT_FALSE(startsUnscaled(offThenOn.bytes()));

    // A damaged clip counts as no actions; the tags after it are still read.
    std::string damaged;
    u16(damaged, 100);
    u16(damaged, 1);
    u16(damaged, static_cast<std::uint16_t>(12 << 6 | 0x3F));
    u32(damaged, 1000); // longer than the clip
    MovieWriter afterDamage(200, 100, 12, {255, 255, 255});
    afterDamage.setVersion(8);
    afterDamage.tag(39, damaged);
    afterDamage.showFrame();
    afterDamage.doAction(off);
    afterDamage.showFrame();
    EXPECT_TRUE(startsUnscaled(afterDamage.bytes()));
}
