#include "controls/ProgressBarFormat.h"

#include <cmath>
#include <gtest/gtest.h>

using progressbar::formatPercent;

TEST(ProgressBarFormat, PatternsShowTheirCountOfDecimals) {
    EXPECT_EQ(formatPercent(0.5, 0), "50%");
    EXPECT_EQ(formatPercent(0.4567, 2), "45.67%");
    EXPECT_EQ(formatPercent(0.37, 0), "37%");
    EXPECT_EQ(formatPercent(0.37, 1), "37.0%");
    EXPECT_EQ(formatPercent(0.37, 2), "37.00%");
    EXPECT_EQ(formatPercent(0, 0), "0%");
    EXPECT_EQ(formatPercent(0, 2), "0.00%");
    EXPECT_EQ(formatPercent(0.0004, 1), "0.0%");
    EXPECT_EQ(formatPercent(1e-12, 0), "0%");
    EXPECT_EQ(formatPercent(21474836.47, 0), "2147483647%"); // no grouping
    EXPECT_EQ(formatPercent(1.0 / 3, 2), "33.33%");
    EXPECT_EQ(formatPercent(2.0 / 3, 1), "66.7%");
}

TEST(ProgressBarFormat, ExactHalvesGoAwayFromZero) {
    EXPECT_EQ(formatPercent(1.0 / 8, 0), "13%");    // 12.5
    EXPECT_EQ(formatPercent(3.0 / 8, 0), "38%");    // 37.5
    EXPECT_EQ(formatPercent(1.0 / 16, 1), "6.3%");  // 6.25
    EXPECT_EQ(formatPercent(3.0 / 16, 1), "18.8%"); // 18.75
    EXPECT_EQ(formatPercent(1.0 / 32, 2), "3.13%"); // 3.125
    EXPECT_EQ(formatPercent(0.125, 1), "12.5%");    // no rounding needed
    EXPECT_EQ(formatPercent(-1.0 / 8, 0), "-13%");
    EXPECT_EQ(formatPercent(0.995, 0), "100%"); // carry into a new digit
    EXPECT_EQ(formatPercent(0.99999, 2), "100.00%");
    EXPECT_EQ(formatPercent(0.005, 0), "1%");
}

TEST(ProgressBarFormat, DecimalDigitsDecideNotTheBinaryApproximation) {
    // 57 / 200 is stored as 0.28499999999999998; its decimal value 0.285 is a half.
    EXPECT_EQ(formatPercent(57.0 / 200, 0), "29%");
    EXPECT_EQ(formatPercent(1.005 / 100, 2), "1.01%");
}

TEST(ProgressBarFormat, SignsAndOddNumbers) {
    EXPECT_EQ(formatPercent(-0.4, 0), "-40%");
    EXPECT_EQ(formatPercent(-0.001, 0), "-0%");
    EXPECT_EQ(formatPercent(-0.0, 0), "0%");
    EXPECT_EQ(formatPercent(std::nan(""), 0), "");
    EXPECT_EQ(formatPercent(INFINITY, 1), "");
}
