#include "catalogue/UpdateVersion.h"

#include <gtest/gtest.h>

TEST(UpdateVersion, OwnVersionJoinsTheThreeNumbersAndCountsAsOne) {
    EXPECT_EQ(catalogue::ownVersionText(), "1.0.0");
    EXPECT_EQ(catalogue::versionNumber(catalogue::ownVersionText()), 1);
}

TEST(UpdateVersion, PublishedVersionsRoundHalvesToEvenAndOnlyAHigherNumberIsAnUpdate) {
    struct Case {
        const char* published;
        int number;
        bool due;
    };
    for (const auto& c :
         {Case{"1", 1, false}, Case{"1.4", 1, false}, Case{"1.0.9", 1, false}, Case{" 1.2beta", 1, false},
          Case{"1.5", 2, true}, Case{"2.5", 2, true}, Case{"0.5", 0, false}, Case{"0", 0, false},
          Case{"", 0, false}, Case{"v2", 0, false}, Case{"-1", -1, false}, Case{"12", 12, true}}) {
        EXPECT_EQ(catalogue::versionNumber(c.published), c.number) << c.published;
        EXPECT_EQ(catalogue::updateDue(c.published), c.due) << c.published;
    }
    // A lower number on the server never moves the program back, whatever its own version is.
    EXPECT_FALSE(catalogue::updateDue("1", "2.0.0"));
    EXPECT_FALSE(catalogue::updateDue("2.4", "2.0.0"));
    EXPECT_TRUE(catalogue::updateDue("3", "2.0.0"));
}
