#include "pages/UnavailablePage.h"

#include <gtest/gtest.h>

TEST(UnavailablePage, ShowsTheNoteOnTheSettingsColourAndKeepsMarkupOutOfIt) {
    const std::string page = UnavailablePage("#FFEEDD");
    EXPECT_NE(page.find("页面暂时无法打开，请稍后再试。"), std::string::npos);
    EXPECT_NE(page.find("bgcolor=\"#FFEEDD\""), std::string::npos);

    const std::string hostile = UnavailablePage("red\"><script>alert(1)</script>");
    EXPECT_NE(hostile.find("bgcolor=\"redscriptalert1script\""), std::string::npos);
    EXPECT_EQ(hostile.find("<script"), std::string::npos);
    EXPECT_NE(UnavailablePage("").find("bgcolor=\"#FFFFFF\""), std::string::npos);
}
