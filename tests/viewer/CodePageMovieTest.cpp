// Old movies whose strings are in the Chinese code page, rewritten for the player: the same movie
// written anew in UTF-8 as version 6 is what must come out, byte for byte, so every string, length,
// branch offset and block size is checked at once. Anything else is left alone.

#include "viewer/CodePageMovie.h"

#include "LittleEndian.h"
#include "SwfWriter.h"
#include "viewer/CompressedMovie.h"
#include "viewer/GbkBytes.h"
#include "viewer/ServedFile.h"

#include <gtest/gtest.h>

using namespace swf;
using viewer::CodePageRewrite;
using viewer::unicodeMovie;

namespace {

// A tag's header and body, as a sprite holds its tags.
std::string tagged(std::uint16_t code, const std::string& body) {
    std::string out;
    if (body.size() < 0x3F) {
        u16(out, static_cast<std::uint16_t>(code << 6 | body.size()));
    } else {
        u16(out, static_cast<std::uint16_t>(code << 6 | 0x3F));
        u32(out, static_cast<std::uint32_t>(body.size()));
    }
    return out + body;
}

// One movie with a string in every place that holds one, in the code page of version 5 (GBK) or in
// the UTF-8 of version 6. Branches and blocks span strings, so their offsets and sizes change too.
std::string sample(int version, std::string text = "中文") {
    const auto s = [&](const std::string& utf8) { return (version < 6 ? gbkBytes(utf8) : utf8) + '\0'; };
    const auto z = [&](const std::string& utf8) { return s(utf8).substr(0, s(utf8).size() - 1); };
    MovieWriter movie(200, 100, 12, {255, 255, 255});
    movie.setVersion(version);
    const auto font = movie.defineDeviceFont(z("宋体"));
    movie.place(1, movie.define(TextField{0, 0, 200, 20, font, 12, {}, z(text + "文字"), z("名字")}), {});
    movie.tag(43, s("第一帧")); // frame label

    Actions frame;
    std::string pool;
    u16(pool, 2);
    frame.record(0x88, pool + s("常量") + s("ascii"));
    frame.push({z("变量"), z(text)}).op(Op::SetVariable).jump("after");
    frame.label("back").push({z("跳过的很长的文字")}).op(Op::Pop);
    frame.label("after").push({false}).ifTrue("back");
    Actions body;
    body.push({false}).ifTrue("end").push({z("参数")}).op(Op::GetVariable).op(Op::Return).label("end");
    frame.defineFunction(z("函数"), {z("参数"), z("另一个")}, body);
    Actions inside;
    inside.push({z("里面")}).op(Op::Pop);
    frame.push({z("对象")}).op(Op::GetVariable).with(inside);
    frame.record(0x83, s("http://例子.cn/页") + s("_blank")); // get URL
    frame.record(0x8C, s("第一帧"));                          // go to label
    frame.record(0x8B, s("目标"));                            // set target
    movie.doAction(frame);

    Actions small;
    small.push({z("片段")}).jump("over").push({z("不要")}).label("over").op(Op::Pop);
    const std::string code = small.bytes() + '\0';

    std::string sprite;
    u16(sprite, 100);
    u16(sprite, 1);
    sprite += tagged(12, code) + tagged(43, s("片段帧")) + tagged(1, {}) + tagged(0, {});
    movie.tag(39, sprite);

    std::string button;
    u16(button, 101);
    u8(button, 0);
    u16(button, 3); // to the first condition's actions, past the records' end
    u8(button, 0);  // no records
    u16(button, static_cast<std::uint16_t>(4 + code.size()));
    u16(button, 0x0008); // on release
    button += code;
    u16(button, 0); // the last one
    u16(button, 0x0004);
    button += code;
    movie.tag(34, button);

    std::string place;
    u8(place, 0x80 | 0x20 | 0x02); // clip actions, a name, a character
    u16(place, 2);
    u16(place, 100);
    place += s("实例");
    u16(place, 0);
    const auto flags = [&](std::uint16_t events) { version < 6 ? u16(place, events) : u32(place, events); };
    flags(0x0001 | 0x0004); // enter frame, mouse up... of all records
    flags(0x0001);
    u32(place, static_cast<std::uint32_t>(code.size()));
    place += code;
    flags(0x0004);
    u32(place, static_cast<std::uint32_t>(code.size()));
    place += code;
    flags(0);
    movie.tag(26, place);

    std::string exported;
    u16(exported, 1);
    u16(exported, 100);
    movie.tag(56, exported + s("导出的片段"));
    std::string imported = s("共享.swf");
    u16(imported, 1);
    u16(imported, 102);
    movie.tag(57, imported + s("导入"));
    std::string info;
    u16(info, font);
    const std::string name = z("黑体");
    u8(info, static_cast<std::uint8_t>(name.size()));
    movie.tag(13, info + name + '\0');

    movie.showFrame();
    return movie.bytes();
}

} // namespace

TEST(CodePageMovieTest, AnOldChineseMovieComesOutAsTheSameMovieInUtf8OfVersion6) {
    const std::string expected = sample(6);
    EXPECT_EQ(unicodeMovie(sample(5)), expected);
    EXPECT_EQ(unicodeMovie(compressed(sample(5))), expected);
    // The text field's tag outgrows the short form of a tag's length.
    const std::string longer(26, 'x');
    EXPECT_EQ(unicodeMovie(sample(5, longer)), sample(6, longer));
}

TEST(CodePageMovieTest, EverythingElseIsLeftAsItIs) {
    // Plain ASCII, unless asked to rewrite it anyway; newer movies; strings that are not GBK.
    MovieWriter ascii(100, 100, 12, {});
    ascii.setVersion(5);
    Actions a;
    a.push({"name", "value"}).op(Op::SetVariable);
    ascii.doAction(a);
    ascii.showFrame();
    EXPECT_EQ(unicodeMovie(ascii.bytes()), std::nullopt);
    const auto always = unicodeMovie(ascii.bytes(), CodePageRewrite::Always);
    ASSERT_TRUE(always);
    EXPECT_EQ(always->substr(0, 4), std::string("FWS\6"));
    EXPECT_EQ(always->substr(8), ascii.bytes().substr(8));
    EXPECT_EQ(unicodeMovie(sample(6)), std::nullopt);
    std::string latin = sample(5);
    latin.replace(latin.find(gbkBytes("变量")), 4, "caf\xE9");
    EXPECT_EQ(unicodeMovie(latin), std::nullopt);

    // Damaged movies: cut anywhere, a branch into the middle of an action, a broken stream.
    const std::string whole = sample(5);
    for (std::size_t n = 0; n < whole.size(); ++n)
        unicodeMovie(whole.substr(0, n));
    const std::string cwsWhole = compressed(whole);
    for (std::size_t n = 0; n < cwsWhole.size(); n += 7)
        unicodeMovie(cwsWhole.substr(0, n));
    std::string wild = whole;
    const auto jump = wild.find("\x99\x02\x00", 0, 3);
    ASSERT_NE(jump, std::string::npos);
    wild[jump + 3] = 1;
    EXPECT_EQ(unicodeMovie(wild), std::nullopt);
    std::string broken = compressed(whole);
    broken[10] ^= 0x55;
    EXPECT_EQ(unicodeMovie(broken), std::nullopt);
}

TEST(CodePageMovieTest, EveryServedFileTakesTheOnePathThatDecidesItsBytesAndType) {
    using viewer::servedFile;
    const auto served = [](const char* name, const std::string& bytes) {
        const auto file = servedFile(name, bytes);
        return std::pair(file.contentType, file.bytes);
    };
    const std::string flash = "application/x-shockwave-flash";
    EXPECT_EQ(served("sub/game.swf", sample(5)), std::pair(flash, sample(6)));
    EXPECT_EQ(served("game.swf", sample(6)), std::pair(flash, sample(6)));
    // Text in the Chinese code page becomes UTF-8; a movie is never read as text, even a broken one.
    const std::string gbk = gbkBytes("名字=王喆&分数=10");
    EXPECT_EQ(served("data.txt", gbk),
              std::pair(std::string("text/plain;charset=utf-8"), std::string("名字=王喆&分数=10")));
    EXPECT_EQ(served("broken.swf", gbk), std::pair(flash, gbk));
    EXPECT_EQ(served("data.xml", "<a>中文</a>").second, "<a>中文</a>");
    const std::string binary("\xFF\xD8\xFF\0\xB0\xA1", 6);
    EXPECT_EQ(served("pic.jpg", binary).second, binary);
}
