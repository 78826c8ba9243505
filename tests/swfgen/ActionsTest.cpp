#include "Actions.h"

#include "SwfReader.h"
#include "SwfWriter.h"

#include <gtest/gtest.h>

using namespace swf;
using namespace std::string_literals;

namespace {

// count = count + 1, or 1 where it was undefined; then stop.
Actions countUp() {
    Actions a;
    a.push({"count"}).op(Op::GetVariable).push({Actions::Undefined{}}).op(Op::Equals2).ifTrue("first");
    a.push({"count", "count"}).op(Op::GetVariable).push({1}).op(Op::Add2).op(Op::SetVariable).jump("end");
    a.label("first").push({"count", 1}).op(Op::SetVariable);
    a.label("end").op(Op::Stop);
    return a;
}

// A movie of version 8 with a text field in a device font, shown, and the actions of a frame.
std::string textMovie(const Actions& actions) {
    MovieWriter movie(200, 100, 12, {255, 255, 255});
    movie.setVersion(8);
    const auto font = movie.defineDeviceFont("宋体");
    const auto field = movie.define(TextField{0, 0, 200, 20, font, 15, {200, 0, 0}, "中文", "shown"});
    movie.place(1, field, {});
    movie.doAction(actions);
    movie.showFrame();
    return movie.bytes();
}

} // namespace

TEST(Actions, EncodesPushesBranchesAndFunctions) {
    Actions pushes;
    pushes.push({"a", 1, true, nullptr, Actions::Undefined{}, 1.5}).op(Op::SetVariable);
    EXPECT_EQ(pushes.bytes(), "\x96\x15\0"             // push, 21 bytes
                              "\0a\0"                  // "a"
                              "\7\1\0\0\0"             // 1
                              "\5\1"                   // true
                              "\2\3"                   // null, undefined
                              "\6\0\0\xF8\x3F\0\0\0\0" // 1.5, high word first
                              "\x1D"s);                // set variable

    // Branches count from the action after them; a label may also stand at the end.
    Actions loop;
    loop.label("top").push({true}).ifTrue("out").jump("top").label("out");
    EXPECT_EQ(loop.bytes(), "\x96\2\0\5\1"
                            "\x9D\2\0\5\0"        // to "out", 5 bytes on
                            "\x99\2\0\xF1\xFF"s); // back to "top", 15 bytes back

    Actions body;
    body.push({"x"}).op(Op::GetVariable).op(Op::Return);
    Actions function;
    function.defineFunction("f", {"x"}, body);
    EXPECT_EQ(function.bytes(), "\x9B\x08\0f\0\1\0x\0\x08\0"s + body.bytes());

    Actions lost;
    lost.jump("nowhere");
    EXPECT_THROW(lost.bytes(), std::logic_error);
}

TEST(Actions, DeviceTextAndActionsReadBackAndBreakagesAreRejected) {
    const std::string bytes = textMovie(countUp());
    EXPECT_EQ(bytes[3], 8);
    const auto movie = readMovie(bytes);
    EXPECT_FALSE(movie.actionScript3);
    EXPECT_EQ(movie.actionBlocks, 1);
    EXPECT_EQ(movie.actions, 14);
    EXPECT_EQ(movie.fonts, std::vector<std::string>{"宋体"});
    EXPECT_EQ(movie.texts, std::vector<std::string>{"中文"});
    EXPECT_EQ(movie.placements, 1);

    // The text field's tag as players read it: id 2, bounds (0..4000 x 0..400 twips in 13-bit
    // fields), flags, font 1 at 300 twips, colour, variable, text.
    const std::string field = "\x02\0"
                              "\x68\x00\x1F\x40\x00\x00\xC8\x00"
                              "\x8D\x10"
                              "\x01\0\x2C\x01"
                              "\xC8\0\0\xFF"
                              "shown\0中文\0"s;
    EXPECT_NE(bytes.find(field), std::string::npos);

    const auto rejects = [](std::string broken, const char* why) {
        EXPECT_THROW(readMovie(broken), std::runtime_error) << why;
    };
    // The branch's offset moved by one: it lands inside an action.
    std::string inside = bytes;
    const std::size_t branch = inside.find("\x9D\x02\x00"s);
    ASSERT_NE(branch, std::string::npos);
    ++inside[branch + 3];
    rejects(inside, "jump inside an action");
    std::string unended = bytes;
    const std::size_t stop = unended.find("\x07\x00"s, branch);
    unended[stop + 1] = 0x07; // the end action becomes another stop
    rejects(unended, "actions without their end");
    MovieWriter noFont(10, 10, 1, {});
    TextField orphan;
    orphan.font = 9;
    noFont.place(1, noFont.define(orphan), {});
    noFont.showFrame();
    rejects(noFont.bytes(), "text field in an undefined font");
}
