#include "catalogue/UpdateVersion.h"

#include <gtest/gtest.h>

TEST(UpdateVersion, OwnVersionJoinsTheThreeNumbersAndCountsAsOne) {
    EXPECT_EQ(catalogue::ownVersionText(), "1.0.0");
    EXPECT_EQ(catalogue::versionNumber(catalogue::ownVersionText()), 1);
}

TEST(UpdateVersion, PublishedVersionsRoundHalvesToEvenAndAnyDifferenceIsAnUpdate) {
    struct Case {
        const char* published;
        int number;
        bool due;
    };
    for (const auto& c :
         {Case{"1", 1, false}, Case{"1.4", 1, false}, Case{"1.0.9", 1, false}, Case{" 1.2beta", 1, false},
          Case{"1.5", 2, true}, Case{"2.5", 2, true}, Case{"0.5", 0, true}, Case{"0", 0, true},
          Case{"", 0, true}, Case{"v2", 0, true}, Case{"-1", -1, true}}) {
        EXPECT_EQ(catalogue::versionNumber(c.published), c.number) << c.published;
        EXPECT_EQ(catalogue::updateDue(c.published), c.due) << c.published;
    }
    // A lower number on the server is an update too, and the own version need not be 1.
    EXPECT_TRUE(catalogue::updateDue("1", "2.0.0"));
    EXPECT_FALSE(catalogue::updateDue("2.4", "2.0.0"));
}
