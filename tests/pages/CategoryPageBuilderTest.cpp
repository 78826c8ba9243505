#include "pages/CategoryPageBuilder.h"

#include "PageFiles.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

const std::string kList = "<div class=\"category-all-app-list\"><ul><li>应用 &amp; 游戏</li></ul></div>";
const std::string kPaging =
    "<div class=\"pagination clearfix\"><a class=\"item current\" href=\"/p?a=1\">1</a></div>";
const std::string kEnd = "<!--HTML END-->";

class CategoryPageBuilderTest : public ::testing::Test {
  protected:
    TempDir dir;
    PageSite site{dir.path() / "Html", "http://store.test", "http://static.test"};
    void SetUp() override { std::filesystem::create_directory(site.htmlDir); }
    std::string page(std::string_view key) {
        return readWholeFile(site.htmlDir / (std::string(key) + ".html"));
    }
    std::string paging(std::string_view key) {
        return readWholeFile(site.htmlDir / (std::string(key) + "Page.html"));
    }
    bool build(std::string_view storeText, PageLinkTable* links = nullptr) {
        return BuildCategoryPage(site, "GameAll", storePage(dir.path(), storeText), "#E1EAF6", links);
    }
};

} // namespace

TEST_F(CategoryPageBuilderTest, WritesExactPageAndPagingFiles) {
    ASSERT_TRUE(build("<html><head></head>" + kList + kPaging + "<p>foot</p>" + kEnd + "</html>"));
    EXPECT_EQ(page("GameAll"), kTestHeader + kList + kTestFooter);
    EXPECT_EQ(paging("GameAll"), kPaging + "<p>foot</p>\r\n");

    // A second build replaces both files; nothing is appended.
    ASSERT_TRUE(build(kList + "<b>new</b>" + kPaging + kEnd));
    EXPECT_EQ(page("GameAll"), kTestHeader + kList + "<b>new</b>" + kTestFooter);
    EXPECT_EQ(paging("GameAll"), kPaging + "\r\n");
}

TEST_F(CategoryPageBuilderTest, WithoutPaginationCutsAtTheEndMarkerAndKeepsTheOldPagingFile) {
    ASSERT_TRUE(build(kList + kPaging + kEnd));
    ASSERT_TRUE(build("<head/>" + kList + "<i>one page</i>" + kEnd + "<script/>"));
    EXPECT_EQ(page("GameAll"), kTestHeader + kList + "<i>one page</i>" + kTestFooter);
    EXPECT_EQ(paging("GameAll"), kPaging + "\r\n");
}

TEST_F(CategoryPageBuilderTest, WithoutAppListMarkerWrapsFromTheFirstCharacter) {
    ASSERT_TRUE(build("<html><p>x</p>" + kEnd));
    EXPECT_EQ(page("GameAll"), kTestHeader + "<html><p>x</p>" + kTestFooter);
    EXPECT_FALSE(std::filesystem::exists(site.htmlDir / "GameAllPage.html"));
}

TEST_F(CategoryPageBuilderTest, KeepsOldFilesWhenNoCutCanBeMade) {
    ASSERT_TRUE(build(kList + kPaging + kEnd));
    const std::string oldPage = page("GameAll");
    EXPECT_FALSE(build(kList + "<p>truncated")); // neither pagination nor end marker
    EXPECT_FALSE(build(""));                     // empty fetch
    EXPECT_FALSE(BuildCategoryPage(site, "GameAll", (dir.path() / "none").string(), "#E1EAF6", nullptr));
    EXPECT_EQ(page("GameAll"), oldPage);
    EXPECT_EQ(paging("GameAll"), kPaging + "\r\n");

    // A pagination block without a following end marker: the page is cut, the old paging file stays.
    EXPECT_TRUE(
        build(kList + "<b>2</b>" + "<div class=\"pagination clearfix\"><a class=\"item\" href=\"/x\">9</a>"));
    EXPECT_EQ(page("GameAll"), kTestHeader + kList + "<b>2</b>" + kTestFooter);
    EXPECT_EQ(paging("GameAll"), kPaging + "\r\n");

    // No page cache folder: nothing written, no crash.
    PageSite nowhere{dir.path() / "missing", site.storeSite, site.staticHost};
    EXPECT_FALSE(
        BuildCategoryPage(nowhere, "GameAll", storePage(dir.path(), kList + kEnd), "#E1EAF6", nullptr));
}

TEST_F(CategoryPageBuilderTest, ClearsCaptionsAndMarksOfTheFirstSevenLinksOnly) {
    PageLinkTable links;
    for (int i = 0; i < 8; ++i)
        links.PageLinks[i] = {"/u" + std::to_string(i), std::to_string(i + 1), true};
    links.PageLinkCount = 8;
    build("", &links); // the table is cleared even when the fetch gives nothing
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(links.PageLinks[i].Caption, "");
        EXPECT_FALSE(links.PageLinks[i].IsCurrent);
        EXPECT_EQ(links.PageLinks[i].Url, "/u" + std::to_string(i));
    }
    EXPECT_EQ(links.PageLinks[7].Caption, "8");
    EXPECT_TRUE(links.PageLinks[7].IsCurrent);
    EXPECT_EQ(links.PageLinkCount, 8);
}
