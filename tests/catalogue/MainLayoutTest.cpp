#include "catalogue/MainLayout.h"

#include <gtest/gtest.h>

using catalogue::MainLayout;
using catalogue::TwipsRect;

// The window at its opening size: 1000 x 728 pixels, 15000 x 10920 twips, inner size = outer size
// (the frame is drawn inside the window).
TEST(MainLayoutTest, OpeningSizePlacesStripSearchBarAndPanels) {
    const auto l = MainLayout::compute(15000, 10920, 15000);
    EXPECT_EQ(l.SStab1, (TwipsRect{60, 405, 14900, 10020}));
    EXPECT_EQ(l.SouSuoPic, (TwipsRect{15000 - 4455 - 150, 1050, 4455, 390}));
    EXPECT_EQ(l.SouSuoText, (TwipsRect{375, 75, 4455 - 825, 390 - 150}));
    EXPECT_EQ(l.SousuoCmd, (TwipsRect{4455 - 405, 0, 405, 390}));
    // The 我的游戏 button: right-aligned with the search bar, 90 twips above it, on the tab row.
    EXPECT_EQ(l.LibraryCmd, (TwipsRect{15000 - 1440 - 150, 1050 - 390 - 90, 1440, 390}));

    // Home: under the tab row (1125) with 800 to spare; the browser 500 wider and 100 taller.
    EXPECT_EQ(l.home.panel, (TwipsRect{90, 405 + 1125 + 800, 14840, 10020 - 1125 - 900}));
    EXPECT_EQ(l.home.browser, (TwipsRect{-50, -50, 14840 + 500, 7995 + 100}));
    // Search: 350 higher up; the browser keeps the panel's width and reaches 350 further down.
    EXPECT_EQ(l.search.panel, (TwipsRect{90, 405 + 1125 + 450, 14840, 7995}));
    EXPECT_EQ(l.search.browser, (TwipsRect{-50, -50, 14840, 7995 + 350}));

    EXPECT_EQ(l.GameSStab, (TwipsRect{90, 1980, 14900 - 120, 7995}));
    EXPECT_EQ(l.category.panel, (TwipsRect{120, 450 + 200, 14780 - 50, 7995 - 450 - 100}));
    EXPECT_EQ(l.category.browser, (TwipsRect{-50, -100, 14730 + 500, 7445 + 80}));
    // The 我的游戏 page: as wide as the sub-tab strip, 120 twips under the tab row, down to its end.
    EXPECT_EQ(l.library, (TwipsRect{90, 1125 + 120, 14780, 1980 + 7995 - 1125 - 120}));
    EXPECT_TRUE(l.fits());
}

TEST(MainLayoutTest, SearchBarFollowsTheOuterWidthAndStripTheInnerSize) {
    const auto l = MainLayout::compute(20000, 12000, 20100);
    EXPECT_EQ(l.SouSuoPic.left, 20100 - 4455 - 150);
    EXPECT_EQ(l.SStab1, (TwipsRect{60, 405, 19900, 11100}));
}

// The smallest inner height is where the category panel (the deepest one) keeps a height:
// 900 + 1125 + 900 + 450 + 100 twips, and the smallest width where it keeps a width: 100 + 120 + 50.
TEST(MainLayoutTest, FitsOnlyWhileEveryPanelKeepsAPositiveSize) {
    EXPECT_TRUE(MainLayout::compute(271, 3476, 271).fits());
    EXPECT_FALSE(MainLayout::compute(270, 3476, 270).fits());
    EXPECT_FALSE(MainLayout::compute(271, 3475, 271).fits());
    EXPECT_FALSE(MainLayout::compute(0, 0, 0).fits()); // minimised
}
