#include "skin/TabMDCNineGrid.h"

#include <gtest/gtest.h>

using skin::BlitCopy;
using skin::nineGridCopies;

TEST(TabMDCNineGrid, ThirteenPixelTabKeepsItsMirroredMiddleColumn) {
    // A current tab, 80 x 75, from Tab.bmp x = 13 with 7-pixel margins.
    auto copies = nineGridCopies(0, 0, 80, 75, 13, 0, 13, 27, {7, 7, 7, 7});
    ASSERT_EQ(copies.size(), 9u);
    EXPECT_EQ(copies[0], (BlitCopy{0, 0, 7, 7, 13, 0, 7, 7, false}));    // top-left
    EXPECT_EQ(copies[1], (BlitCopy{73, 0, 7, 7, 19, 0, 7, 7, false}));   // top-right starts at column 6
    EXPECT_EQ(copies[2], (BlitCopy{0, 68, 7, 7, 13, 20, 7, 7, false}));  // bottom-left
    EXPECT_EQ(copies[3], (BlitCopy{73, 68, 7, 7, 19, 20, 7, 7, false})); // bottom-right
    EXPECT_EQ(copies[4], (BlitCopy{0, 7, 7, 61, 13, 7, 7, 13, true}));   // left edge
    EXPECT_EQ(copies[5], (BlitCopy{73, 7, 7, 61, 19, 7, 7, 13, true}));  // right edge
    EXPECT_EQ(copies[6], (BlitCopy{7, 0, 66, 7, 20, 0, -1, 7, true}));   // top edge: width -1
    EXPECT_EQ(copies[7], (BlitCopy{7, 68, 66, 7, 20, 20, -1, 7, true})); // bottom edge
    EXPECT_EQ(copies[8], (BlitCopy{7, 7, 66, 61, 20, 7, -1, 13, true})); // centre
}

TEST(TabMDCNineGrid, BackgroundColumnStretchesOverTheRowWithItsBottomLine) {
    auto copies = nineGridCopies(0, 0, 1000, 75, 0, 0, 1, 27, {0, 0, 0, 1});
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[0], (BlitCopy{0, 74, 1000, 1, 0, 26, 1, 1, true})); // bottom line
    EXPECT_EQ(copies[1], (BlitCopy{0, 0, 1000, 74, 0, 0, 1, 26, true})); // the top 26 rows
}

TEST(TabMDCNineGrid, NoMarginsIsOneStretchAndZeroSizesDrawNothing) {
    auto plain = nineGridCopies(5, 6, 40, 30, 2, 3, 10, 12, {});
    ASSERT_EQ(plain.size(), 1u);
    EXPECT_EQ(plain[0], (BlitCopy{5, 6, 40, 30, 2, 3, 10, 12, true}));
    auto negative = nineGridCopies(0, 0, 40, 30, 2, 3, 10, 12, {-1, -2, -3, -4});
    EXPECT_EQ(negative[0], (BlitCopy{0, 0, 40, 30, 1, 1, 13, 16, true}));

    EXPECT_TRUE(nineGridCopies(0, 0, 0, 30, 0, 0, 13, 27, {7, 7, 7, 7}).empty());
    EXPECT_TRUE(nineGridCopies(0, 0, 40, 0, 0, 0, 13, 27, {7, 7, 7, 7}).empty());
    EXPECT_TRUE(nineGridCopies(0, 0, 40, 30, 0, 0, 0, 27, {7, 7, 7, 7}).empty());
    EXPECT_TRUE(nineGridCopies(0, 0, 40, 30, 0, 0, 13, 0, {7, 7, 7, 7}).empty());
}

TEST(TabMDCNineGrid, OffsetsAndAbsurdNumbersStayBounded) {
    auto shifted = nineGridCopies(-100, 20, 80, 75, 13, 0, 13, 27, {7, 7, 7, 7});
    EXPECT_EQ(shifted[0].dx, -100);
    EXPECT_EQ(shifted[1].dx, -27);
    EXPECT_EQ(shifted[1].dy, 20);

    // A tab narrower than its two corners: the middle gets a negative width and still appears.
    auto narrow = nineGridCopies(0, 0, 10, 75, 13, 0, 13, 27, {7, 7, 7, 7});
    ASSERT_EQ(narrow.size(), 9u);
    EXPECT_EQ(narrow[8].dw, -4);

    const int big = 2147483647;
    auto huge = nineGridCopies(big, big, big, big, big, big, big, big, {big, big, big, big});
    const int limit = 1 << 29;
    for (const BlitCopy& c : huge)
        for (int v : {c.dx, c.dy, c.dw, c.dh, c.sx, c.sy, c.sw, c.sh}) {
            EXPECT_LE(v, limit);
            EXPECT_GE(v, -limit);
        }
}
