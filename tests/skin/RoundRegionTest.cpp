#include "skin/RoundRegion.h"

#include <gtest/gtest.h>

using namespace skin;

namespace {

bool covers(const std::vector<Rect>& bands, int x, int y) {
    for (const Rect& r : bands)
        if (r.left <= x && x < r.right && r.top <= y && y < r.bottom) return true;
    return false;
}

} // namespace

TEST(RoundRegion, CornersAreCutAndTheMiddleIsWhole) {
    auto bands = roundRectBands(100, 60, 10, 10);
    EXPECT_FALSE(covers(bands, 0, 0));
    EXPECT_FALSE(covers(bands, 99, 59));
    EXPECT_TRUE(covers(bands, 5, 0));
    EXPECT_TRUE(covers(bands, 0, 30));
    EXPECT_TRUE(covers(bands, 99, 30));
    EXPECT_FALSE(covers(bands, 100, 30));
    EXPECT_LE(bands.size(), 11u); // equal rows are merged
}

TEST(RoundRegion, DegenerateSizesStayWellFormed) {
    EXPECT_TRUE(roundRectBands(0, 10, 5, 5).empty());
    EXPECT_TRUE(roundRectBands(10, -1, 5, 5).empty());
    EXPECT_EQ(roundRectBands(10, 10, 0, -3).size(), 1u);
    for (const Rect& r : roundRectBands(6, 4, 1000, 1000)) {
        EXPECT_LE(r.left, r.right);
        EXPECT_GE(r.left, 0);
        EXPECT_LE(r.right, 6);
    }
}
