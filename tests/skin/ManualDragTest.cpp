#include "skin/ManualDrag.h"

#include <gtest/gtest.h>

using namespace skin;

TEST(ManualDrag, MoveFollowsTheMouse) {
    auto d = ManualDrag::move(110, 20, Rect::fromSize(100, 10, 400, 300));
    EXPECT_EQ(d.geometryAt(150, 5), Rect::fromSize(140, -5, 400, 300));
}

TEST(ManualDrag, SizingKeepsTheOppositeEdgesAndStopsAtTheLimits) {
    Rect start = Rect::fromSize(100, 100, 400, 300);
    auto right = ManualDrag::size(BorderZone::Right, 499, 200, start, 189, 42, 1284, 984);
    EXPECT_EQ(right.geometryAt(549, 0), Rect::fromSize(100, 100, 450, 300));
    EXPECT_EQ(right.geometryAt(0, 0), Rect::fromSize(100, 100, 189, 300));

    auto topLeft = ManualDrag::size(BorderZone::TopLeft, 100, 100, start, 189, 42, 1284, 984);
    EXPECT_EQ(topLeft.geometryAt(90, 80), (Rect{90, 80, 500, 400}));
    EXPECT_EQ(topLeft.geometryAt(480, 480), (Rect{311, 358, 500, 400}));

    auto bottom = ManualDrag::size(BorderZone::Bottom, 300, 400, start, 189, 42, 0, 0);
    EXPECT_EQ(bottom.geometryAt(350, 5000), (Rect{100, 100, 500, 5000}));
}
