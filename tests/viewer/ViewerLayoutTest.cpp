#include "viewer/ViewerLayout.h"

#include <gtest/gtest.h>

using namespace viewer;

TEST(ViewerLayout, OpeningWindowNormalAndFullScreen) {
    // The window opens at 15000 x 10920 twips; the bar's pictures are 287 x 29 pixels.
    EXPECT_EQ(ViewerLayout::progressBar(WindowWidthTwips, WindowHeightTwips, 4305, 435),
              (TwipsRect{5348, 5243, 4305, 435}));
    const TwipsRect normal = ViewerLayout::tabs(false, WindowWidthTwips, WindowHeightTwips);
    EXPECT_EQ(normal, (TwipsRect{60, 465, 14910, 10020}));
    EXPECT_EQ(ViewerLayout::tabs(true, 19200, 16200), (TwipsRect{0, 0, 19200, 16200}));

    const TwipsRect frame = ViewerLayout::tabFrame(normal, TabRowTwips);
    EXPECT_EQ(frame, (TwipsRect{90, 500, 14790, 9520}));
    EXPECT_EQ(ViewerLayout::player(normal, TabRowTwips), (TwipsRect{30, 500, 14790, 9520}));
    EXPECT_EQ(ViewerLayout::textBox(frame), (TwipsRect{400, 400, 13990, 8820}));
    EXPECT_EQ(ViewerLayout::pageBrowser(frame), (TwipsRect{-30, -90, 14820, 9610}));
    // In full screen the frames start at the tab control's edge too.
    EXPECT_EQ(ViewerLayout::tabFrame(ViewerLayout::tabs(true, 19200, 16200), TabRowTwips).left, 30);
}

TEST(ViewerLayout, OddSizesHalveTowardsZero) {
    EXPECT_EQ(ViewerLayout::progressBar(15001, 10921, 4305, 435), (TwipsRect{5348, 5243, 4305, 435}));
    EXPECT_EQ(ViewerLayout::tabFrame({60, 465, 500, 500}, 1001).top, 500);
}
