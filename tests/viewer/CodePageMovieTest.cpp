// Old movies whose strings are in the Chinese code page, rewritten for the player: the movie
// written by hand with every pushed string built from its characters is what must come out, byte
// for byte, so every split push, length, branch offset and block size is checked at once, and so is
// every name left as it is. Anything else is left alone.

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

std::string z(const std::string& utf8) {
    return gbkBytes(utf8);
}
std::string s(const std::string& utf8) {
    return gbkBytes(utf8) + '\0';
}

// Pushes values, then the string of characters (all beyond ASCII) either as bytes or built: the
// first character's code goes with the values, and each character after is joined on.
Actions& pushed(Actions& a, bool built, std::vector<Actions::Value> values, const std::u16string& text,
                const std::string& utf8) {
    if (!built) {
        values.push_back(z(utf8));
        return a.push(values);
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        values.resize(values.size() + 1);
        values.back() = static_cast<std::int32_t>(text[i]);
        a.push(values).op(Op::MbAsciiToChar);
        if (i > 0) a.op(Op::StringAdd);
        values.clear();
    }
    return a;
}

// One movie of version 5 with a string in every place that holds one, in GBK or rewritten.
// Branches and blocks span built strings, so their offsets and sizes change too.
std::string sample(bool rewritten, const std::string& before = "") {
    const bool b = rewritten;
    MovieWriter movie(200, 100, 12, {255, 255, 255});
    movie.setVersion(5);
    const auto font = movie.defineDeviceFont(z("宋体"));
    // A field's first text, as HTML with its characters as numbers.
    TextField field{0, 0, 200, 20, font, 12, {}, before + z("文字<&>"), z("Ming名字")};
    if (rewritten) field.text = before + "&#25991;&#23383;&lt;&amp;&gt;";
    field.html = rewritten;
    movie.place(1, movie.define(field), {});
    movie.tag(43, s("第一帧")); // frame label

    Actions frame;
    std::string pool;
    u16(pool, 2);
    frame.record(0x88, pool + s("常量") + s("ascii"));
    // A push of several values split around a built string; names stay as they are: a field's
    // variable (whose letters' case names ignore), a frame label, a placement's name in a path, the
    // start of a placement's name.
    pushed(frame, b, {"ascii", z("mING名字"), z("第一帧")}, u"中文", "中文");
    frame.push({7, z("_root.实例.x"), z("实")}).op(Op::SetVariable).jump("after");
    // Constants: a built one, one of ASCII, and one past the pool's end, as they are.
    frame.label("back");
    if (rewritten)
        pushed(frame, b, {}, u"常量", "常量").record(0x96, std::string("\x08\x01\x08\x05", 4));
    else
        frame.record(0x96, std::string("\x08\x00\x08\x01\x08\x05", 6));
    pushed(frame, b, {}, u"跳过的很长的文字", "跳过的很长的文字").op(Op::Pop);
    frame.label("after").push({false}).ifTrue("back");
    Actions body;
    body.push({false}).ifTrue("end").push({z("参数")}).op(Op::GetVariable);
    pushed(body, b, {}, u"结果", "结果").op(Op::Add2).op(Op::Return).label("end");
    frame.defineFunction(z("函数"), {z("参数"), z("另一个")}, body);
    Actions inside;
    pushed(inside, b, {}, u"里面", "里面").op(Op::Pop);
    pushed(frame, b, {}, u"对象", "对象").op(Op::GetVariable).with(inside);
    frame.record(0x83, s("http://例子.cn/页") + s("_blank")); // get URL
    frame.record(0x8C, s("第一帧"));                          // go to label
    frame.record(0x8B, s("目标"));                            // set target
    movie.doAction(frame);

    Actions small;
    pushed(small, b, {}, u"片段", "片段").jump("over");
    pushed(small, b, {}, u"不要", "不要").label("over").op(Op::Pop);
    const std::string code = small.bytes() + '\0';

    std::string sprite;
    u16(sprite, 100);
    u16(sprite, 1);
    sprite += tagged(12, code) + tagged(43, s("那一帧")) + tagged(1, {}) + tagged(0, {});
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
    u16(place, 0x0001 | 0x0004); // enter frame, mouse up... of all records
    u16(place, 0x0001);
    u32(place, static_cast<std::uint32_t>(code.size()));
    place += code;
    u16(place, 0x0004);
    u32(place, static_cast<std::uint32_t>(code.size()));
    place += code;
    u16(place, 0);
    movie.tag(26, place);

    std::string exported;
    u16(exported, 1);
    u16(exported, 100);
    movie.tag(56, exported + s("导出的片段"));
    std::string info;
    u16(info, font);
    const std::string name = z("黑体");
    u8(info, static_cast<std::uint8_t>(name.size()));
    movie.tag(13, info + name + '\0');

    movie.showFrame();
    return movie.bytes();
}

} // namespace

TEST(CodePageMovieTest, AnOldChineseMovieBuildsItsTextAtRunTimeAndKeepsItsNamesAndVersion) {
    const std::string expected = sample(true);
    EXPECT_EQ(unicodeMovie(sample(false)), expected);
    EXPECT_EQ(unicodeMovie(compressed(sample(false))), expected);
    // Nothing is left to rewrite in what came out.
    EXPECT_EQ(unicodeMovie(expected), std::nullopt);
    // The text field's tag outgrows the short form of a tag's length.
    const std::string longer(40, 'x');
    EXPECT_EQ(unicodeMovie(sample(false, longer)), sample(true, longer));
}

TEST(CodePageMovieTest, EverythingElseIsLeftAsItIs) {
    // Plain ASCII, unless asked to build every string; newer movies; strings that are not GBK.
    MovieWriter ascii(100, 100, 12, {});
    ascii.setVersion(5);
    Actions a;
    a.push({"n", "value"}).op(Op::SetVariable);
    ascii.doAction(a);
    ascii.showFrame();
    EXPECT_EQ(unicodeMovie(ascii.bytes()), std::nullopt);
    MovieWriter always(100, 100, 12, {});
    always.setVersion(5);
    Actions b;
    b.push({110}).op(Op::MbAsciiToChar);
    for (const char c : std::string("value")) {
        b.push({static_cast<std::int32_t>(c)}).op(Op::MbAsciiToChar);
        if (c != 'v') b.op(Op::StringAdd);
    }
    always.doAction(b.op(Op::SetVariable));
    always.showFrame();
    EXPECT_EQ(unicodeMovie(ascii.bytes(), CodePageRewrite::Always), always.bytes());
    MovieWriter six(100, 100, 12, {});
    six.setVersion(6);
    six.doAction(Actions().push({"中文"}).op(Op::Pop));
    six.showFrame();
    EXPECT_EQ(unicodeMovie(six.bytes()), std::nullopt);
    std::string latin = sample(false);
    latin.replace(latin.find(gbkBytes("对象")), 4, "caf\xE9");
    EXPECT_EQ(unicodeMovie(latin), std::nullopt);

    // A constant beyond ASCII where which pool a push refers to is not certain: a block that sets
    // its pool after its start, and one that sets none, in a movie where another block does.
    std::string pool;
    u16(pool, 1);
    pool += s("常量");
    const auto withPool = [&](Actions before, Actions after) {
        MovieWriter movie(100, 100, 12, {});
        movie.setVersion(5);
        movie.doAction(before.record(0x88, pool).record(0x96, std::string("\x08\x00", 2)).op(Op::Pop));
        movie.doAction(after.record(0x96, std::string("\x08\x00", 2)).op(Op::Pop));
        movie.showFrame();
        return unicodeMovie(movie.bytes());
    };
    EXPECT_EQ(withPool(Actions().push({"x"}).op(Op::Pop), Actions().record(0x88, pool)), std::nullopt);
    EXPECT_EQ(withPool(Actions(), Actions()), std::nullopt);
    EXPECT_NE(withPool(Actions(), Actions().record(0x88, pool)), std::nullopt);
    // A function's body that sets no pool has the one of the code that defines it.
    Actions body;
    body.record(0x96, std::string("\x08\x00", 2)).op(Op::Pop);
    EXPECT_NE(withPool(Actions(), Actions().record(0x88, pool).defineFunction("f", {}, body)), std::nullopt);

    // Damaged movies: cut anywhere, a branch into the middle of an action, a broken stream.
    const std::string whole = sample(false);
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
    EXPECT_EQ(served("sub/game.swf", sample(false)), std::pair(flash, sample(true)));
    EXPECT_EQ(served("game.swf", sample(true)), std::pair(flash, sample(true)));
    // Text in the Chinese code page becomes UTF-8; a movie is never read as text, even a broken one.
    const std::string gbk = gbkBytes("名字=王喆&分数=10");
    EXPECT_EQ(served("data.txt", gbk),
              std::pair(std::string("text/plain;charset=utf-8"), std::string("名字=王喆&分数=10")));
    EXPECT_EQ(served("broken.swf", gbk), std::pair(flash, gbk));
    // The movie playing, of version 5, reads loaded variables as Latin text, then their escapes as
    // UTF-8; names as its own names; XML as UTF-8.
    EXPECT_EQ(servedFile("data.txt", gbk, 5).bytes,
              gbkBytes("名字") + "=%E7%8E%8B%E5%96%86&" + gbkBytes("分数") + "=10");
    EXPECT_EQ(servedFile("data.xml", gbkBytes(" <a>中</a>"), 5).bytes, " <a>中</a>");
    EXPECT_EQ(servedFile("data.txt", gbk, 6).bytes, "名字=王喆&分数=10");
    EXPECT_EQ(served("data.xml", "<a>中文</a>").second, "<a>中文</a>");
    const std::string binary("\xFF\xD8\xFF\0\xB0\xA1", 6);
    EXPECT_EQ(served("pic.jpg", binary).second, binary);
}
