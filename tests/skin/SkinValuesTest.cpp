#include "skin/SkinValues.h"

#include <gtest/gtest.h>
#include <map>

using namespace skin;

namespace {

SkinKeyReader readerOf(std::map<std::string, std::string, std::less<>> keys) {
    return [keys = std::move(keys)](std::string_view key) {
        auto it = keys.find(key);
        return it == keys.end() ? std::string() : it->second;
    };
}

} // namespace

TEST(SkinValues, NumbersConvertWithBlanksHalvesToEvenAndHex) {
    SkinValues v;
    v.read(readerOf({{"TopLeft", "  12  "},
                     {"TopRight", "12.5"},
                     {"TopCeter", "13.5"},
                     {"TopHeight", "&H1F"},
                     {"CaptionColor", "255"},
                     {"SizeX1", "-7"}}));
    EXPECT_EQ(v.topLeft, 12);
    EXPECT_EQ(v.topRight, 12);
    EXPECT_EQ(v.topCeter, 14);
    EXPECT_EQ(v.topHeight, 31);
    EXPECT_EQ(v.captionColor, 255);
    EXPECT_EQ(v.sizeX1, -7);
}

TEST(SkinValues, MissingOrBadKeysKeepTheOldValueAndEmptyCaptionColourIsWhite) {
    SkinValues v;
    v.read(readerOf({{"CaptionColor", "abc"}, {"CetLeft", "ten"}}));
    EXPECT_EQ(v.captionColor, 0); // letters on a new object: black
    EXPECT_EQ(v.cetLeft, 0);
    v.topLeft = 9;
    v.read(readerOf({{"CaptionColor", "   "}, {"TopLeft", "9x"}}));
    EXPECT_EQ(v.topLeft, 9);
    EXPECT_EQ(v.captionColor, SkinValues::White);
    v.read(readerOf({}));
    EXPECT_EQ(v.captionColor, SkinValues::White);
}

TEST(SkinValues, ButtonKeysAreAllRequiredAndLeftMayBeFractional) {
    std::map<std::string, std::string, std::less<>> keys{{"Cmd.Height", "20"},
                                                         {"CmdClose.Width", "40"},
                                                         {"Cmd.Top", "4"},
                                                         {"Cmd.Left", " -4.5 "},
                                                         {"Cmd.Width", "30"}};
    auto read = ButtonKeys::read(readerOf(keys));
    ASSERT_TRUE(read);
    EXPECT_DOUBLE_EQ(read->left, -4.5);
    EXPECT_EQ(read->closeWidth, 40);
    for (const char* missing : {"Cmd.Height", "CmdClose.Width", "Cmd.Top", "Cmd.Left", "Cmd.Width"}) {
        auto without = keys;
        without[missing] = "x";
        EXPECT_FALSE(ButtonKeys::read(readerOf(without))) << missing;
    }
}

TEST(SkinValues, ButtonImagesAreCountedFromTheRightEdge) {
    ButtonKeys keys{20, 40, 4, -5, 30};
    EXPECT_EQ(buttonImage(keys, 200, 0, 0, false), Rect::fromSize(160, 0, 40, 20));
    EXPECT_EQ(buttonImage(keys, 200, 1, 0, true), Rect::fromSize(130, 0, 30, 20));
    EXPECT_EQ(buttonImage(keys, 200, 1, 1, false), Rect::fromSize(100, 20, 30, 20));
    EXPECT_EQ(buttonImage(keys, 200, 2, 2, false), Rect::fromSize(70, 40, 30, 20));
    EXPECT_EQ(buttonImage(keys, 200, 3, 0, false), Rect::fromSize(40, 0, 30, 20));
}

TEST(SkinValues, FramePiecesTakeSourcesFromSumsAndCornersAndStretchTheEdges) {
    SkinValues v;
    v.topLeft = 15, v.topRight = 25, v.topCeter = 60, v.topHeight = 30;
    v.cetLeft = 10, v.cetCeter = 70, v.cetRight = 20, v.cetHeight = 40;
    v.botLeft = 12, v.botRight = 18, v.botCeter = 70, v.botHeight = 10;
    auto p = v.framePieces(100, 80, 400, 200);
    // Right edge from x 80, stretched down to the bottom of the window.
    EXPECT_EQ(p[0], (BlitCopy{380, 30, 20, 170, 80, 30, 20, 40, true}));
    // Centre stretched to height 200 - 30 - 10 = 160; left edge to 170.
    EXPECT_EQ(p[1].dh, 160);
    EXPECT_EQ(p[2].dh, 170);
    EXPECT_EQ(p[3], (BlitCopy{12, 190, 370, 10, 12, 70, 70, 10, true}));
    EXPECT_EQ(p[4], (BlitCopy{382, 190, 18, 10, 82, 70, 18, 10, false}));
    EXPECT_EQ(p[5], (BlitCopy{0, 190, 12, 10, 0, 70, 12, 10, false}));
    EXPECT_EQ(p[6], (BlitCopy{15, 0, 360, 30, 15, 0, 60, 30, true}));
    EXPECT_EQ(p[7], (BlitCopy{375, 0, 25, 30, 75, 0, 25, 30, false}));
    EXPECT_EQ(p[8], (BlitCopy{0, 0, 15, 30, 0, 0, 15, 30, false}));
    // A window narrower than the fixed pieces gives negative extents, passed on as they are.
    auto tiny = v.framePieces(100, 80, 20, 20);
    EXPECT_LT(tiny[1].dw, 0);
    EXPECT_LT(tiny[1].dh, 0);
}
