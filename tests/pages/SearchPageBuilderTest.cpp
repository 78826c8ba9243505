#include "pages/SearchPageBuilder.h"

#include "LoopbackServer.h"
#include "PageFiles.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {
const std::string kStart = "<div class=\"content clearfix\">";
const std::string kPopular = "<div id=\"PopularRecommend\">";
const std::string kHtmlEnd = "<!--HTML END-->";
} // namespace

TEST(SearchPageBuilder, CutsAndRewritesTheResults) {
    TempDir dir;
    const PageSite site{dir.path(), "http://store.test:81", "http://static.test"};
    const std::string results = kStart + "<ul><li>返回<a href=\"/\">应用商店首页</a></li></ul>" +
                                "<a href=\"/appweb/app?id=1\">连连看</a>" +
                                "<span class=\"developer_name\">by <a href=\"/dev/2\">某人</a></span>" +
                                "<a href=\"http://other.test/x\">外链</a>";
    ASSERT_TRUE(BuildSearchPage(site,
                                storePage(dir.path(), "<head/>" + results + kPopular + "<p/>" + kHtmlEnd),
                                "#E1EAF6", "SouSuo"));
    const std::string expected = kStart + "<ul></ul>" +
                                 "<a href=\"http://store.test:81/appweb/app?id=1\">连连看</a>" +
                                 "<!-- \">by <a href=\"http://store.test:81/dev/2\">某人 -->" +
                                 "<a href=\"http://other.test/x\">外链</a>";
    EXPECT_EQ(readWholeFile(dir.path() / "SouSuo.html"), kTestHeader + expected + kTestFooter);

    // Without the PopularRecommend block the results end at the end marker.
    ASSERT_TRUE(
        BuildSearchPage(site, storePage(dir.path(), kStart + "<b>1</b>" + kHtmlEnd), "#E1EAF6", "SouSuo"));
    EXPECT_EQ(readWholeFile(dir.path() / "SouSuo.html"), kTestHeader + kStart + "<b>1</b>" + kTestFooter);
}

TEST(SearchPageBuilder, KeepsThePreviousPageWhenTheResultsCannotBeCut) {
    TempDir dir;
    const PageSite site{dir.path(), "http://store.test", "http://static.test"};
    ASSERT_TRUE(BuildSearchPage(site, storePage(dir.path(), kStart + "old" + kPopular), "#E1EAF6", "SouSuo"));
    const std::string old = readWholeFile(dir.path() / "SouSuo.html");
    EXPECT_FALSE(BuildSearchPage(site, storePage(dir.path(), "<p>no results block</p>" + kHtmlEnd), "#E1EAF6",
                                 "SouSuo"));
    EXPECT_FALSE(BuildSearchPage(site, storePage(dir.path(), kStart + "cut off"), "#E1EAF6", "SouSuo"));
    EXPECT_FALSE(BuildSearchPage(site, storePage(dir.path(), ""), "#E1EAF6", "SouSuo"));
    EXPECT_EQ(readWholeFile(dir.path() / "SouSuo.html"), old);
}

TEST(SearchPageBuilder, SearchesTheStoreForTypedWords) {
    LoopbackServer server;
    std::string word;
    server.routes().Get("/appweb/search", [&](const httplib::Request& req, httplib::Response& res) {
        word = req.get_param_value("w");
        res.set_content(kStart + "<p>" + word + "</p>" + kPopular, "text/html; charset=utf-8");
    });
    server.start();
    TempDir dir;
    const PageSite site{dir.path(), server.site(), "http://static.test"};
    ASSERT_TRUE(BuildSearchPage(site, server.site() + "/appweb/search?w=植物 大战", "#E1EAF6", "SouSuo"));
    EXPECT_EQ(word, "植物 大战");
    EXPECT_EQ(readWholeFile(dir.path() / "SouSuo.html"),
              kTestHeader + kStart + "<p>植物 大战</p>" + kTestFooter);
}
