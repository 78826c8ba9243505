#include "skin/BlitAxis.h"

#include <gtest/gtest.h>

using skin::BlitAxis;

TEST(BlitAxis, PlainAndStretchedExtentsSampleEvenly) {
    BlitAxis same(10, 4, 3, 4);
    EXPECT_FALSE(same.mirrored());
    EXPECT_EQ(same.destStart(), 10);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(same.sourceAt(i), 3 + i);

    BlitAxis doubled(0, 6, 0, 3);
    EXPECT_EQ(doubled.sourceAt(0), 0);
    EXPECT_EQ(doubled.sourceAt(1), 0);
    EXPECT_EQ(doubled.sourceAt(2), 1);
    EXPECT_EQ(doubled.sourceAt(5), 2);

    BlitAxis halved(0, 2, 0, 4);
    EXPECT_EQ(halved.sourceAt(0), 1);
    EXPECT_EQ(halved.sourceAt(1), 3);
}

TEST(BlitAxis, NegativeSourceWidthMirrorsTheColumnsLeftOfTheStart) {
    // The tab nine-grid's middle: source x 7, width -1 -> column 6 stretched across.
    BlitAxis middle(7, 50, 7, -1);
    EXPECT_TRUE(middle.mirrored());
    EXPECT_EQ(middle.sourceStart(), 6);
    EXPECT_EQ(middle.sourceLength(), 1);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(middle.sourceAt(i), 6);

    BlitAxis three(0, 3, 10, -3); // columns 7, 8, 9 read right to left
    EXPECT_EQ(three.sourceAt(0), 9);
    EXPECT_EQ(three.sourceAt(1), 8);
    EXPECT_EQ(three.sourceAt(2), 7);
}

TEST(BlitAxis, NegativeDestinationMirrorsAndTwoNegativesCancel) {
    BlitAxis dest(10, -3, 0, 3); // lands on 7..9, mirrored
    EXPECT_EQ(dest.destStart(), 7);
    EXPECT_TRUE(dest.mirrored());
    EXPECT_EQ(dest.sourceAt(0), 2);

    BlitAxis both(10, -3, 3, -3);
    EXPECT_FALSE(both.mirrored());
    EXPECT_EQ(both.sourceAt(0), 0);
    EXPECT_EQ(both.sourceAt(2), 2);

    EXPECT_TRUE(BlitAxis(0, 0, 0, 5).empty());
    EXPECT_TRUE(BlitAxis(0, 5, 0, 0).empty());
}
