#include "SwfWriter.h"

#include "SwfReader.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <zlib.h>

using namespace swf;

namespace {

std::string twoFrameMovie() {
    MovieWriter movie(320, 240, 12.5, {0x10, 0x20, 0x30});
    const auto ball = movie.define(Shape::circle(20, {255, 0, 0}).outline(2, {0, 0, 0, 128}));
    const auto bar = movie.define(Shape::rect(40, 10, {0, 255, 0}));
    movie.place(1, ball, {10, 10});
    movie.place(2, bar, {-30.25, 500, 45, 2, 0.5, 0.4}); // off stage, turned, squashed, faded
    movie.showFrame();
    movie.place(1, ball, {300, 230, -90});
    movie.place(2, ball, {0, 0}); // another character on a depth in use
    movie.showFrame();
    return movie.bytes();
}

std::uint32_t le32(const std::string& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    return v;
}

void putLe32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
}

std::string tag(std::uint16_t code, const std::string& body) {
    const auto header = static_cast<std::uint16_t>(code << 6 | body.size());
    return std::string{static_cast<char>(header & 0xFF), static_cast<char>(header >> 8)} + body;
}

// The two-frame movie as an ActionScript 3 movie would start: file attributes, a script block and
// a symbol class table that binds the main timeline (symbol 0) to "Main", after another symbol.
std::string scriptedMovie() {
    std::string bytes = twoFrameMovie();
    const std::size_t tagsAt = 8 + 8 + 4; // header, stage RECT, rate and frame count
    using namespace std::string_literals;
    bytes.insert(tagsAt, tag(kFileAttributes, "\x08\0\0\0"s) + tag(kDoAbc, "abc12"s) +
                             tag(kSymbolClass, "\x02\0\x05\0Other\0\0\0Main\0"s));
    putLe32(bytes, 4, static_cast<std::uint32_t>(bytes.size()));
    return bytes;
}

// A compressed movie as players read it: the header's 8 bytes with "CWS", the rest deflated.
std::string compressed(const std::string& movie) {
    uLongf size = compressBound(movie.size() - 8);
    std::string out(8 + size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data() + 8), &size,
              reinterpret_cast<const Bytef*>(movie.data() + 8), movie.size() - 8, 9);
    out.resize(8 + size);
    out.replace(0, 8, movie.substr(0, 8));
    out[0] = 'C';
    return out;
}

} // namespace

TEST(SwfWriter, HeaderAndTagsReadBack) {
    const std::string bytes = twoFrameMovie();
    ASSERT_EQ(bytes.substr(0, 3), "FWS");
    EXPECT_EQ(static_cast<int>(bytes[3]), 10);
    EXPECT_EQ(le32(bytes, 4), bytes.size());
    const auto movie = readMovie(bytes);
    EXPECT_EQ(movie.widthPx, 320);
    EXPECT_EQ(movie.heightPx, 240);
    EXPECT_DOUBLE_EQ(movie.frameRate, 12.5);
    EXPECT_EQ(movie.frameCount, 2);
    EXPECT_EQ(movie.background, 0x102030u);
    EXPECT_EQ(movie.shapes, 2);
    EXPECT_EQ(movie.edges, 8 + 4); // eight arcs; three sides and the closing fourth
    EXPECT_EQ(movie.placements, 4);
    ASSERT_EQ(movie.frames.size(), 2u);
    // Frame 1: identity scale, translation in twips, alpha multiplier 0.4 * 256.
    EXPECT_EQ(movie.frames[0].substr(0, movie.frames[0].find(';')),
              "1:#1 65536 65536 0 0 200 200 256 256 256 256 ");
    EXPECT_NE(movie.frames[0].find("2:#2 "), std::string::npos);
    EXPECT_NE(movie.frames[0].find(" -605 10000 256 256 256 102 "), std::string::npos);
    // Frame 2: a quarter turn back (cos 0, sin -1) and the ball on depth 2.
    EXPECT_EQ(movie.frames[1].substr(0, movie.frames[1].find(';')),
              "1:#1 0 0 -65536 65536 6000 4600 256 256 256 256 ");
    EXPECT_NE(movie.frames[1].find("2:#1 "), std::string::npos);
}

TEST(SwfWriter, LongTagsAndCounterClockwiseOutlinesReadBack) {
    MovieWriter movie(100, 100, 24, {});
    Shape many({1, 2, 3});
    for (int i = 0; i < 30; ++i) // thirty squares, each drawn the other way round
        many.moveTo(i * 3, 0).lineTo(i * 3, 2).lineTo(i * 3 + 2, 2).lineTo(i * 3 + 2, 0);
    movie.place(1, movie.define(many), {});
    movie.place(2, movie.define(Shape(Rgba{}).noFill().outline(3, {9, 9, 9})), {});
    movie.showFrame();
    const auto read = readMovie(movie.bytes());
    EXPECT_EQ(read.edges, 120);
    EXPECT_EQ(read.shapes, 2);
}

TEST(SwfReader, RejectsBrokenMovies) {
    const std::string good = twoFrameMovie();
    const auto rejects = [](std::string bytes, const char* why) {
        EXPECT_THROW(readMovie(bytes), std::runtime_error) << why;
    };
    rejects(good.substr(0, good.size() - 2), "cut short");
    rejects("CWS" + good.substr(3), "compressed");
    rejects(good + std::string(2, '\0'), "bytes after the end tag");
    std::string wrongCount = good;
    // The frame count follows the stage RECT (8 bytes: 5 + 4 x 14 bits for 6400 x 4800 twips) and the rate.
    const std::size_t countAt = 8 + 8 + 2;
    ASSERT_EQ(wrongCount[countAt], 2);
    wrongCount[countAt] = 3;
    rejects(wrongCount, "frame count");
    MovieWriter undefined(10, 10, 1, {});
    undefined.place(1, 7, {});
    undefined.showFrame();
    rejects(undefined.bytes(), "undefined character");
    rejects("", "empty");
}

TEST(SwfReader, ReadsCompressedActionScript3Movies) {
    const std::string plain = scriptedMovie();
    const auto uncompressed = readMovie(plain);
    EXPECT_FALSE(uncompressed.compressed);
    EXPECT_TRUE(uncompressed.actionScript3);
    EXPECT_EQ(uncompressed.scriptBlocks, 1);
    EXPECT_EQ(uncompressed.documentClass, "Main");
    EXPECT_FALSE(readMovie(twoFrameMovie()).actionScript3);

    const std::string packed = compressed(plain);
    const auto movie = readMovie(packed);
    EXPECT_TRUE(movie.compressed);
    EXPECT_EQ(movie.documentClass, "Main");
    EXPECT_EQ(movie.frames, uncompressed.frames);
    EXPECT_EQ(movie.widthPx, 320);

    const auto rejects = [](std::string bytes, const char* why) {
        EXPECT_THROW(readMovie(bytes), std::runtime_error) << why;
    };
    rejects(packed.substr(0, packed.size() - 4), "deflated data cut short");
    rejects(packed + "x", "bytes after the deflated data");
    std::string longer = packed;
    putLe32(longer, 4, static_cast<std::uint32_t>(plain.size() + 1));
    rejects(longer, "announced length longer than the inflated movie");
    std::string shorter = packed;
    putLe32(shorter, 4, static_cast<std::uint32_t>(plain.size() - 1));
    rejects(shorter, "announced length shorter than the inflated movie");
    putLe32(shorter, 4, 3);
    rejects(shorter, "announced length shorter than a header");
    std::string unterminated = plain;
    const std::size_t name = unterminated.find("Main");
    unterminated.replace(name, 5, "Mains");
    rejects(unterminated, "symbol class name without its end");
}

TEST(SwfShape, PrimitivesCloseOnTheirOutlines) {
    const auto circle = Shape::circle(10, {});
    ASSERT_EQ(circle.edges().size(), 9u); // the start and eight arcs
    for (const auto& edge : circle.edges()) {
        EXPECT_NEAR(std::hypot(edge.x, edge.y), 10, 1e-9);
        if (edge.curve) {
            EXPECT_NEAR(std::hypot(edge.cx, edge.cy), 10 / std::cos(std::numbers::pi / 8), 1e-9);
        }
    }
    EXPECT_NEAR(circle.edges().back().x, 10, 1e-9); // back at the start

    const auto star = Shape::polygon(5, 20, {}, 8);
    ASSERT_EQ(star.edges().size(), 10u);
    for (std::size_t i = 0; i < star.edges().size(); ++i)
        EXPECT_NEAR(std::hypot(star.edges()[i].x, star.edges()[i].y), i % 2 ? 8 : 20, 1e-9);
    EXPECT_NEAR(star.edges()[0].y, -20, 1e-9); // first point straight up

    const auto card = Shape::roundRect(40, 20, 5, {});
    double left = 0, right = 0, top = 0, bottom = 0;
    for (const auto& edge : card.edges()) {
        left = std::min(left, edge.x), right = std::max(right, edge.x);
        top = std::min(top, edge.y), bottom = std::max(bottom, edge.y);
    }
    EXPECT_EQ(std::vector<double>({left, right, top, bottom}), std::vector<double>({-20, 20, -10, 10}));
}

TEST(SwfWriter, ScaledAndFadedPlacementsKeepTheirValues) {
    MovieWriter movie(100, 100, 24, {});
    const auto dot = movie.define(Shape::circle(5, {}));
    movie.place(1, dot, {50, 50, 0, 2, 0.5, 0});
    movie.showFrame();
    movie.place(1, dot, {50, 50, 0, 1, 1, 7}); // opacity above 1 is held at 1
    movie.showFrame();
    const auto read = readMovie(movie.bytes());
    EXPECT_EQ(read.frames[0], "1:#1 131072 32768 0 0 1000 1000 256 256 256 0 ;");
    EXPECT_EQ(read.frames[1], "1:#1 65536 65536 0 0 1000 1000 256 256 256 256 ;");
}
