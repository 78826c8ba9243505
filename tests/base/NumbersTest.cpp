#include "base/Numbers.h"

#include <gtest/gtest.h>

using namespace base;

TEST(Numbers, LeadingNumberStopsAtTheFirstNonNumber) {
    EXPECT_DOUBLE_EQ(leadingNumber("255abc"), 255);
    EXPECT_DOUBLE_EQ(leadingNumber("abc"), 0);
    EXPECT_DOUBLE_EQ(leadingNumber(""), 0);
    EXPECT_DOUBLE_EQ(leadingNumber("1.0.0"), 1.0);
    EXPECT_DOUBLE_EQ(leadingNumber("  -12.25x"), -12.25);
    EXPECT_DOUBLE_EQ(leadingNumber("1e3"), 1000);
    EXPECT_DOUBLE_EQ(leadingNumber("2e"), 2);
    EXPECT_DOUBLE_EQ(leadingNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(leadingNumber("-"), 0);
}

TEST(Numbers, RoundsHalvesToEvenAndSaturates) {
    EXPECT_EQ(leadingInt("12.5"), 12);
    EXPECT_EQ(leadingInt("13.5"), 14);
    EXPECT_EQ(leadingInt("-2.5"), -2);
    EXPECT_EQ(leadingInt("16181985"), 16181985);
    EXPECT_EQ(leadingInt("99999999999"), 2147483647);
    EXPECT_EQ(leadingInt("-99999999999"), -2147483647 - 1);
    EXPECT_EQ(leadingInt("1e400"), 2147483647);
}

TEST(Numbers, ToInt32AcceptsDecimalsAndHexAndRejectsTheRest) {
    EXPECT_EQ(toInt32(" 31 "), 31);
    EXPECT_EQ(toInt32("0.5"), 0);
    EXPECT_EQ(toInt32("1.5"), 2);
    EXPECT_EQ(toInt32("-7"), -7);
    EXPECT_EQ(toInt32("&HFF"), 255);
    EXPECT_EQ(toInt32("&hff"), 255);
    EXPECT_EQ(toInt32("&H8000000F"), static_cast<std::int32_t>(0x8000000F));
    EXPECT_EQ(toInt32("&HFFFFFFFF"), -1);
    EXPECT_EQ(toInt32("&H123456789"), std::nullopt);
    EXPECT_EQ(toInt32("&H"), std::nullopt);
    EXPECT_EQ(toInt32("&HXY"), std::nullopt);
    EXPECT_EQ(toInt32(""), std::nullopt);
    EXPECT_EQ(toInt32("12px"), std::nullopt);
    EXPECT_EQ(toInt32("3000000000"), std::nullopt);
}
