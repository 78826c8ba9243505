#include "pages/HomePageBuilder.h"

#include "PageFiles.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {
const std::string kStart = "<div class=\"container-coloum-1\">";
const std::string kEnd = "<div class=\"container-coloum-2 clearfix index-bottom\">";
} // namespace

TEST(HomePageBuilder, KeepsTheTextBetweenTheMarkersUnchanged) {
    TempDir dir;
    const PageSite site{dir.path(), "http://store.test", "http://static.test"};
    const std::string kept =
        kStart + "<a href=\"/app/1\">游戏</a><span class=\"developer_name\">x</a></span>";
    ASSERT_TRUE(
        BuildHomePage(site, storePage(dir.path(), "<head/>" + kept + kEnd + "<p/>"), "#E1EAF6", "HomeAll"));
    EXPECT_EQ(readWholeFile(dir.path() / "HomeAll.html"), kTestHeader + kept + kTestFooter);

    // Without the start marker the page is kept from its first character.
    ASSERT_TRUE(BuildHomePage(site, storePage(dir.path(), "<p>a</p>" + kEnd), "red", "HomeAll"));
    EXPECT_EQ(readWholeFile(dir.path() / "HomeAll.html"),
              kTestHeader.substr(0, kTestHeader.size() - 8) + "red><p>a</p>" + kTestFooter);
}

TEST(HomePageBuilder, KeepsTheOldPageWhenTheEndMarkerIsMissing) {
    TempDir dir;
    const PageSite site{dir.path(), "http://store.test", "http://static.test"};
    ASSERT_TRUE(BuildHomePage(site, storePage(dir.path(), kStart + "old" + kEnd), "#E1EAF6", "HomeAll"));
    EXPECT_FALSE(BuildHomePage(site, storePage(dir.path(), kStart + "new, cut off"), "#E1EAF6", "HomeAll"));
    EXPECT_FALSE(BuildHomePage(site, storePage(dir.path(), ""), "#E1EAF6", "HomeAll"));
    EXPECT_EQ(readWholeFile(dir.path() / "HomeAll.html"), kTestHeader + kStart + "old" + kTestFooter);
}
