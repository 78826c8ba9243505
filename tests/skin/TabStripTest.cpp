#include "skin/TabStrip.h"

#include <gtest/gtest.h>

using skin::TabImage;
using skin::TabStrip;

namespace {
const auto allVisible = [](int) { return true; };
}

TEST(TabStrip, SizesAreRaisedToThreeAndOnlyChangesAskForARedraw) {
    TabStrip strip;
    EXPECT_EQ(strip.tabWidth(), 70);
    EXPECT_EQ(strip.tabHeight(), 20);
    EXPECT_TRUE(strip.setTabWidth(2));
    EXPECT_EQ(strip.tabWidth(), 3);
    EXPECT_FALSE(strip.setTabWidth(3));
    EXPECT_FALSE(strip.setTabWidth(-40)); // raised to 3, which is already held
    EXPECT_TRUE(strip.setTabHeight(75));
    EXPECT_FALSE(strip.setTabHeight(75));
    EXPECT_EQ(strip.tabHeight(), 75);
}

TEST(TabStrip, TabsShareOneRowFromTheLeftEdge) {
    TabStrip strip;
    strip.setTabWidth(80);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(strip.tabLeft(i), 80 * i);
    // In a 600-pixel control the eighth tab starts at 560 and shows 40 pixels.
    EXPECT_EQ(600 - strip.tabLeft(7), 40);
    strip.setTabWidth(2147483647);
    EXPECT_EQ(strip.tabLeft(7), 7 * std::int64_t(2147483647));
    EXPECT_EQ(strip.tabAt(2000, 5, 8), 0);
}

TEST(TabStrip, HoverFollowsTheMouseInsideTheRow) {
    TabStrip strip;
    strip.setTabWidth(80);
    strip.setTabHeight(75);
    EXPECT_EQ(strip.hoveredTab(), -1);
    EXPECT_TRUE(strip.mouseMove(170, 40, 8));
    EXPECT_EQ(strip.hoveredTab(), 2);
    EXPECT_FALSE(strip.mouseMove(170, 75, 8)); // the bottom line still belongs to the row
    EXPECT_EQ(strip.hoveredTab(), 2);
    EXPECT_TRUE(strip.mouseMove(170, 76, 8));
    EXPECT_EQ(strip.hoveredTab(), -1);
    EXPECT_FALSE(strip.mouseMove(170, 200, 8)); // nothing lit, nothing to redraw

    EXPECT_TRUE(strip.mouseMove(10, 10, 8));
    EXPECT_TRUE(strip.mouseMove(650, 10, 8)); // 650 / 80 = 8: beyond the last tab
    EXPECT_EQ(strip.hoveredTab(), -1);
    EXPECT_FALSE(strip.mouseMove(-10, 10, 8)); // left of the row is no tab, not tab 0
    EXPECT_EQ(strip.hoveredTab(), -1);

    EXPECT_TRUE(strip.mouseMove(90, 10, 8));
    EXPECT_TRUE(strip.clearHover()); // mouse left the control
    EXPECT_FALSE(strip.clearHover());
    EXPECT_TRUE(strip.mouseMove(90, 10, 8)); // and back again
    EXPECT_EQ(strip.hoveredTab(), 1);
    EXPECT_TRUE(strip.mouseMove(90, 10, 0)); // the tabs went away
}

TEST(TabStrip, OnlyALeftPressInTheRowSelectsOrFocuses) {
    TabStrip strip;
    strip.setTabWidth(80);
    strip.setTabHeight(75);
    using Press = TabStrip::Press;
    EXPECT_EQ(strip.press(1, 170, 10, 8, allVisible), (Press{2, true}));
    EXPECT_EQ(strip.press(1, 650, 10, 8, allVisible), (Press{-1, true})); // beyond the tabs: focus only
    EXPECT_EQ(strip.press(2, 170, 10, 8, allVisible), Press{});
    EXPECT_EQ(strip.press(3, 170, 10, 8, allVisible), Press{});
    EXPECT_EQ(strip.press(1, 170, 76, 8, allVisible), Press{});
    EXPECT_EQ(strip.press(1, 170, 75, 8, allVisible), (Press{2, true}));
    const auto tabTwoHidden = [](int i) { return i != 2; };
    EXPECT_EQ(strip.press(1, 170, 10, 8, tabTwoHidden), Press{});
    EXPECT_EQ(strip.press(1, 90, 10, 8, tabTwoHidden), (Press{1, true}));
}

TEST(TabStrip, EachTabTakesItsImageFromTabBmp) {
    const skin::NineGridMargins grid{7, 7, 7, 7};
    EXPECT_EQ(TabStrip::imageOf(true, true), (TabImage{26, 0, 13, 27, grid}));
    EXPECT_EQ(TabStrip::imageOf(true, false), (TabImage{13, 0, 13, 27, grid}));
    EXPECT_EQ(TabStrip::imageOf(false, true), (TabImage{0, 0, 13, 27, grid}));
    EXPECT_EQ(TabStrip::imageOf(false, false), (TabImage{0, 0, 1, 27, {0, 0, 0, 1}}));
    EXPECT_EQ(TabStrip::backgroundImage(), TabStrip::imageOf(false, false));
}

TEST(TabStrip, WordHalvesKeepTheirSign) {
    EXPECT_EQ(TabStrip::loWord(0x0001FFFF), -1);
    EXPECT_EQ(TabStrip::hiWord(0x0001FFFF), 1);
    EXPECT_EQ(TabStrip::hiWord(static_cast<std::int32_t>(0xFFFF0000u)), -1);
    EXPECT_EQ(TabStrip::loWord(static_cast<std::int32_t>(0xFFFF0000u)), 0);
    EXPECT_EQ(TabStrip::loWord(0x00280046), 70);
    EXPECT_EQ(TabStrip::hiWord(0x00280046), 40);
    EXPECT_EQ(TabStrip::hiWord(static_cast<std::int32_t>(0x80000000u)), -32768);
}
