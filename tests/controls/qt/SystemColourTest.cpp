#include "controls/qt/SystemColour.h"

#include <gtest/gtest.h>

TEST(SystemColour, PlainAndSystemColours) {
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(1, 2, 3));
    palette.setColor(QPalette::Text, QColor(4, 5, 6));
    palette.setColor(QPalette::Window, QColor(7, 8, 9));
    // Lowest byte red: 16181985 is #E1EAF6.
    EXPECT_EQ(systemColour(16181985, palette, QPalette::Window), QColor(0xE1, 0xEA, 0xF6));
    EXPECT_EQ(systemColour(static_cast<std::int32_t>(0x8000000Fu), palette, QPalette::Window),
              QColor(1, 2, 3));
    EXPECT_EQ(systemColour(static_cast<std::int32_t>(0x80000008u), palette, QPalette::Window),
              QColor(4, 5, 6));
    // A system colour without a palette counterpart takes the caller's role.
    EXPECT_EQ(systemColour(static_cast<std::int32_t>(0x80000001u), palette, QPalette::Window),
              QColor(7, 8, 9));
}
