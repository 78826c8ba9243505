#include "skin/FrameLayout.h"

#include <gtest/gtest.h>

using namespace skin;

TEST(FrameLayout, ButtonsBandAndFixedRectangles) {
    auto f = FrameLayout::compute(500, 300, ButtonKeys{20, 40, 4, -5, 30});
    EXPECT_EQ(f.buttons[0], (Rect{455, 4, 495, 24}));
    EXPECT_EQ(f.buttons[1], (Rect{425, 4, 455, 24}));
    EXPECT_EQ(f.buttons[2], (Rect{395, 4, 425, 24}));
    EXPECT_EQ(f.buttons[3], (Rect{365, 4, 395, 24}));
    EXPECT_EQ(f.band, (Rect{365, 2, 498, 20}));
    EXPECT_EQ(f.content, (Rect{2, 31, 498, 297}));
    EXPECT_EQ(f.caption, (Rect{4, 2, 496, 29}));
    EXPECT_EQ(f.borders[3], Rect::fromSize(0, 8, 2, 284));
    EXPECT_EQ(f.borders[4], Rect::fromSize(496, 8, 4, 284));
    EXPECT_EQ(f.borders[6], Rect::fromSize(4, 296, 492, 4));

    EXPECT_EQ(FrameLayout::compute(500, 300, ButtonKeys{20, 40, 4, -4.5, 30}).buttons[0].left, 456);
    EXPECT_EQ(FrameLayout::compute(500, 300, ButtonKeys{20, 40, 4, -5.5, 30}).buttons[0].left, 454);
}

TEST(FrameLayout, CaptionTextStartsAfterTheIconAndIsCentredInTheCaptionHeight) {
    auto f = FrameLayout::compute(500, 300, ButtonKeys{20, 40, 4, -5, 30});
    EXPECT_EQ(f.captionText(false, 16), (Rect{4, 8, 365, 297}));
    EXPECT_EQ(f.captionText(true, 16).left, 24);
    EXPECT_EQ(f.captionText(true, 13).top, 9);
}

TEST(FrameLayout, HitTestingUsesInclusiveEdgesAndTheTestOrder) {
    auto f = FrameLayout::compute(500, 300, ButtonKeys{20, 40, 4, -5, 30});
    std::array<bool, 4> all{true, true, true, true};
    EXPECT_EQ(f.areaAt(400, 10), FrameArea::Band);
    EXPECT_EQ(f.areaAt(100, 100), FrameArea::Content);
    EXPECT_EQ(f.areaAt(100, 10), FrameArea::Frame);
    EXPECT_EQ(f.buttonAt(455, 10, all), 1); // shared edge: the higher index is tested first
    EXPECT_EQ(f.buttonAt(495, 24, all), 0);
    EXPECT_EQ(f.buttonAt(496, 10, all), -1);
    EXPECT_EQ(f.buttonAt(440, 10, {true, false, true, true}), -1); // hidden buttons leave a gap
    EXPECT_EQ(f.borderAt(499, 150), BorderZone::Right);
    EXPECT_EQ(f.borderAt(1, 150), BorderZone::Left);
    EXPECT_EQ(f.borderAt(3, 150), BorderZone::None); // the left edge is 2 wide
    EXPECT_EQ(f.borderAt(0, 0), BorderZone::TopLeft);
    EXPECT_EQ(f.borderAt(499, 299), BorderZone::BottomRight);
    EXPECT_TRUE(f.inIconBox(20, 7.5));
    EXPECT_FALSE(f.inIconBox(21, 10));
    EXPECT_FALSE(f.inIconBox(10, 7));
}

TEST(FrameLayout, SizeLimitsFromTheWorkArea) {
    auto f = FrameLayout::compute(500, 300, ButtonKeys{20, 40, 4, -5, 30});
    auto s = f.sizeLimits(Rect{0, 0, 1280, 984}, 4);
    EXPECT_EQ(s.maxWidth, 1292);
    EXPECT_EQ(s.maxHeight, 992);
    EXPECT_EQ(s.maxLeft, -4);
    EXPECT_EQ(s.maxTop, -4);
    EXPECT_EQ(s.minWidth, 133 + 56);
    EXPECT_EQ(s.minHeight, 42);
}
