// as2movies FOLDER: writes the tests' ActionScript 2 movies (SWF version 8) into FOLDER:
//   plays-as2.swf           counts its plays in the shared object "plays" (count, and the count it
//                           read as read), flushes it and shows "plays: N" in device text;
//   plays-as2-unflushed.swf the same without flush(), so that only a player that writes a movie's
//                           shared objects when the movie ends keeps the count;
//   text-as2.swf            the device text lines of DeviceTextLines.h, every other one set by a
//                           frame action through the variable the field shows;
//   characters-as2.swf      the lines of kWideTextLines, one field each;
//   lines-as2.swf           one multi-line field of kSpacedLines lines, sized as on Chinese Windows;
//   text-swf5.swf           the same as a movie of version 5, its font names and texts in the
//                           Chinese code page (GBK), as such movies were made on Chinese Windows,
//                           the last Chinese line loaded with loadVariablesNum from text-swf5.txt;
//   keys-as2.swf            fills its stage with the colour of the last arrow key pressed, as
//                           keys.swf does: grey before any, left red, right green, up blue, down
//                           yellow, taken by a Key listener;
//   unscaled-as2.swf        turns its scaling off in its first frame (fscommand "allowscale"
//                           "false") and draws yellow bands beyond every edge of its blue 300 x 300
//                           stage, as beyond.swf does;
//   unscaled-late-as2.swf   the same, turning its scaling off in its third frame, behind a
//                           preloader's loop in frames 1 and 2;
//   a/files-as2.swf,        (the same movie in two store folders) loads text files with LoadVars
//   b/files-as2.swf         and keeps each one's text, or "error", in the shared object "files":
//                           "config" (config.txt beside it, "A" in a/ and "B" in b/), "sub"
//                           (data/sub.txt), "gbk" (gbk.txt, Chinese in the Chinese code page),
//                           "outside" (../secret.txt), and "abs" and "other" from the absolute
//                           addresses its parameters abs and other name.

#include "SwfWriter.h"
#include "viewer/DeviceTextLines.h"
#include "viewer/GbkBytes.h"
#include "viewer/PreloaderFrames.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

using namespace swf;

namespace {

constexpr Rgba kWhite{255, 255, 255};

MovieWriter as2Movie() {
    MovieWriter movie(400, 300, 30, kWhite);
    movie.setVersion(8);
    return movie;
}

// The movie's one frame, with actions a that end by stopping there.
std::string oneFrame(MovieWriter& movie, Actions& a) {
    a.op(Op::Stop);
    movie.doAction(a);
    movie.showFrame();
    return movie.bytes();
}

// object.method(args...) with the arguments already pushed in reverse order; the result stays.
void callMethod(Actions& a, const std::string& object, const std::string& method, int args) {
    a.push({args, object}).op(Op::GetVariable).push({method}).op(Op::CallMethod);
}

// Pushes so.data.
void pushData(Actions& a) {
    a.push({"so"}).op(Op::GetVariable).push({"data"}).op(Op::GetMember);
}

std::string playCounter(bool flush) {
    MovieWriter movie = as2Movie();
    const auto font = movie.defineDeviceFont("_sans");
    movie.place(1, movie.define(TextField{20, 40, 360, 40, font, 28, {0x20, 0x30, 0x40}, "", "shown"}), {});
    Actions a;
    a.push({"so", "plays"});
    callMethod(a, "SharedObject", "getLocal", 1);
    a.op(Op::SetVariable);
    a.push({"read"});
    pushData(a);
    a.push({"count"}).op(Op::GetMember).op(Op::SetVariable);
    a.push({"read"})
        .op(Op::GetVariable)
        .push({Actions::Undefined{}})
        .op(Op::Equals2)
        .op(Op::Not)
        .ifTrue("known");
    a.push({"read", 0}).op(Op::SetVariable);
    a.label("known");
    pushData(a);
    a.push({"count", "read"}).op(Op::GetVariable).push({1}).op(Op::Add2).op(Op::SetMember);
    pushData(a);
    a.push({"read", "read"}).op(Op::GetVariable).op(Op::SetMember);
    if (flush) {
        callMethod(a, "so", "flush", 0);
        a.op(Op::Pop);
    }
    a.push({"shown", "plays: "});
    pushData(a);
    a.push({"count"}).op(Op::GetMember).op(Op::Add2).op(Op::SetVariable);
    return oneFrame(movie, a);
}

Rgba rgb(std::uint32_t colour) {
    return {static_cast<std::uint8_t>(colour >> 16), static_cast<std::uint8_t>(colour >> 8),
            static_cast<std::uint8_t>(colour)};
}

// The device text lines; in a movie of version 5 with its strings in GBK, the last Chinese line
// loaded from text-swf5.txt.
std::string deviceText(bool version5) {
    MovieWriter movie = as2Movie();
    if (version5) movie.setVersion(5);
    const auto encoded = [&](const std::string& text) { return version5 ? gbkBytes(text) : text; };
    Actions a;
    for (std::size_t i = 0; i < kDeviceTextLines.size(); ++i) {
        const DeviceTextLine& line = kDeviceTextLines[i];
        const std::string text =
            encoded(i + 1 == kDeviceTextLines.size() ? kDeviceTextLatin : kDeviceTextChinese);
        const std::string variable = "line" + std::to_string(i);
        const auto font = movie.defineDeviceFont(encoded(line.font), true);
        const bool byAction = i % 2 == 1, loaded = version5 && i + 2 == kDeviceTextLines.size();
        movie.place(static_cast<std::uint16_t>(i + 1),
                    movie.define(TextField{0, 0, 400, 18, font, 15, rgb(line.colour),
                                           byAction || loaded ? "" : text, variable}),
                    {0, i * 18.0});
        if (byAction) a.push({variable, text}).op(Op::SetVariable);
    }
    // loadVariablesNum("text-swf5.txt", 0)
    if (version5) a.push({"text-swf5.txt", "_level0"}).record(0x9A, std::string(1, '\x80'));
    return oneFrame(movie, a);
}

std::string wideText() {
    MovieWriter movie = as2Movie();
    const auto font = movie.defineDeviceFont("宋体");
    for (std::size_t i = 0; i < kWideTextLines.size(); ++i) {
        const WideTextLine& line = kWideTextLines[i];
        movie.place(static_cast<std::uint16_t>(i + 1),
                    movie.define(TextField{0, 0, 380, 30, font, 20, rgb(line.colour), line.text, ""}),
                    {10, 10 + i * 40.0});
    }
    Actions a;
    return oneFrame(movie, a);
}

std::string spacedLines() {
    MovieWriter movie = as2Movie();
    std::string text;
    for (std::size_t i = 0; i < kSpacedLines; ++i)
        text += i == 0 ? "汉字显示测试文字" : "\r汉字显示测试文字";
    TextField field{0,
                    0,
                    360,
                    kSpacedLines * kSpacedLineHeight + 4,
                    movie.defineDeviceFont("宋体"),
                    12,
                    rgb(kSpacedColour),
                    text,
                    ""};
    field.multiline = true;
    field.leadingPx = 5;
    movie.place(1, movie.define(field), {20, 20});
    Actions a;
    return oneFrame(movie, a);
}

std::string keys() {
    MovieWriter movie = as2Movie();
    Actions a;
    // paint(c): the whole stage in colour c, drawn on the main timeline.
    Actions paint;
    const auto draw = [&](const std::string& method, std::initializer_list<Actions::Value> args) {
        std::vector<Actions::Value> reversed(std::rbegin(args), std::rend(args));
        paint.push(reversed);
        callMethod(paint, "_root", method, static_cast<int>(args.size()));
        paint.op(Op::Pop);
    };
    draw("clear", {});
    paint.push({"c"}).op(Op::GetVariable);
    callMethod(paint, "_root", "beginFill", 1);
    paint.op(Op::Pop);
    draw("moveTo", {0, 0});
    draw("lineTo", {400, 0});
    draw("lineTo", {400, 300});
    draw("lineTo", {0, 300});
    draw("lineTo", {0, 0});
    draw("endFill", {});
    a.defineFunction("paint", {"c"}, paint);
    a.push({0x808080, 1, "paint"}).op(Op::CallFunction).op(Op::Pop);

    Actions onKeyDown;
    onKeyDown.push({"k"});
    callMethod(onKeyDown, "Key", "getCode", 0);
    onKeyDown.op(Op::SetVariable);
    const std::pair<int, int> colours[] = {{37, 0xFF0000}, {39, 0x00FF00}, {38, 0x0000FF}, {40, 0xFFFF00}};
    for (const auto& [code, colour] : colours) {
        const std::string next = "not" + std::to_string(code);
        onKeyDown.push({"k"}).op(Op::GetVariable).push({code}).op(Op::Equals2).op(Op::Not).ifTrue(next);
        onKeyDown.push({colour, 1, "paint"}).op(Op::CallFunction).op(Op::Pop);
        onKeyDown.label(next);
    }
    a.push({"listener", 0, "Object"}).op(Op::NewObject).op(Op::SetVariable);
    a.push({"listener"})
        .op(Op::GetVariable)
        .push({"onKeyDown"})
        .defineFunction("", {}, onKeyDown)
        .op(Op::SetMember);
    a.push({"listener"}).op(Op::GetVariable).push({1});
    a.push({"Key"}).op(Op::GetVariable).push({"addListener"}).op(Op::CallMethod).op(Op::Pop);
    return oneFrame(movie, a);
}

std::string unscaled(bool late) {
    MovieWriter movie(300, 300, 30, {0x33, 0x66, 0xCC});
    movie.setVersion(8);
    const auto band = movie.define(Shape::rect(300, 300, {255, 255, 0}));
    const std::pair<double, double> centres[] = {{-150, 150}, {450, 150}, {150, -150}, {150, 450}};
    for (std::uint16_t depth = 1; const auto& [x, y] : centres)
        movie.place(depth++, band, {x, y});
    if (late)
        for (const Actions& frame : preloaderFrames()) {
            movie.doAction(frame);
            movie.showFrame();
        }
    Actions a;
    a.record(0x83, std::string("FSCommand:allowscale") + '\0' + "false" + '\0'); // how Flash wrote it
    return oneFrame(movie, a);
}

// files-as2.swf: loadOne(key, url) loads url with a LoadVars whose onData keeps the text under key.
std::string files() {
    MovieWriter movie = as2Movie();
    Actions a;
    a.push({"so", "files"});
    callMethod(a, "SharedObject", "getLocal", 1);
    a.op(Op::SetVariable);

    Actions onData;
    onData.push({"v", "src"}).op(Op::GetVariable).op(Op::DefineLocal);
    onData.push({"v"})
        .op(Op::GetVariable)
        .push({Actions::Undefined{}})
        .op(Op::Equals2)
        .op(Op::Not)
        .ifTrue("got");
    onData.push({"v", "error"}).op(Op::DefineLocal);
    onData.label("got");
    pushData(onData);
    onData.push({"this"}).op(Op::GetVariable).push({"key"}).op(Op::GetMember);
    onData.push({"v"}).op(Op::GetVariable).op(Op::SetMember);
    callMethod(onData, "so", "flush", 0);
    onData.op(Op::Pop);

    Actions loadOne;
    loadOne.push({"lv", 0, "LoadVars"}).op(Op::NewObject).op(Op::DefineLocal);
    loadOne.push({"lv"}).op(Op::GetVariable).push({"key", "key"}).op(Op::GetVariable).op(Op::SetMember);
    loadOne.push({"lv"})
        .op(Op::GetVariable)
        .push({"onData"})
        .defineFunction("", {"src"}, onData)
        .op(Op::SetMember);
    loadOne.push({"url"}).op(Op::GetVariable);
    callMethod(loadOne, "lv", "load", 1);
    loadOne.op(Op::Pop);
    a.defineFunction("loadOne", {"key", "url"}, loadOne);

    const std::pair<const char*, const char*> relative[] = {
        {"config", "config.txt"}, {"sub", "data/sub.txt"}, {"gbk", "gbk.txt"}, {"outside", "../secret.txt"}};
    for (const auto& [key, url] : relative)
        a.push({url, key, 2, "loadOne"}).op(Op::CallFunction).op(Op::Pop);
    for (const char* parameter : {"abs", "other"}) {
        a.push({parameter})
            .op(Op::GetVariable)
            .push({parameter, 2, "loadOne"})
            .op(Op::CallFunction)
            .op(Op::Pop);
    }
    return oneFrame(movie, a);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: as2movies FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    const std::pair<const char*, std::string> movies[] = {
        {"plays-as2.swf", playCounter(true)},
        {"plays-as2-unflushed.swf", playCounter(false)},
        {"text-as2.swf", deviceText(false)},
        {"text-swf5.swf", deviceText(true)},
        {"characters-as2.swf", wideText()},
        {"lines-as2.swf", spacedLines()},
        {"keys-as2.swf", keys()},
        {"unscaled-as2.swf", unscaled(false)},
        {"unscaled-late-as2.swf", unscaled(true)},
        {"a/files-as2.swf", files()},
        {"b/files-as2.swf", files()},
        {"a/config.txt", "A"},
        {"b/config.txt", "B"},
        {"a/data/sub.txt", "text in a subfolder"},
        {"a/data/abs.txt", "text by absolute address"},
        // 中文游戏 in the Chinese code page (GBK).
        {"a/gbk.txt", "\xD6\xD0\xCE\xC4\xD3\xCE\xCF\xB7"},
        {"text-swf5.txt", gbkBytes(std::string("line") + std::to_string(kDeviceTextLines.size() - 2) + "=" +
                                   kDeviceTextChinese + "&other=" + kDeviceTextChinese)},
        {"secret.txt", "outside the movie's folder"},
    };
    for (const char* sub : {"/a/data", "/b"})
        std::filesystem::create_directories(folder + sub);
    for (const auto& [name, bytes] : movies) {
        std::ofstream out(folder + "/" + name, std::ios::binary);
        out << bytes;
        if (!out.flush()) {
            std::fprintf(stderr, "as2movies: cannot write %s/%s\n", folder.c_str(), name);
            return 1;
        }
    }
    return 0;
}
