#include "pages/Catalogue.h"

#include <gtest/gtest.h>
#include <set>

TEST(Catalogue, LooksPagesUpByTabCaptions) {
    const auto* other = Catalogue::find("视频", "其它视频");
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->key, "Video8");
    EXPECT_EQ(other->subTabPosition, 7);
    EXPECT_EQ(Catalogue::storeAddress("http://s", *other), "http://s/appweb/c?cid=5&leaf_cid=33");
    const auto* documentary = Catalogue::find("视频", "纪录片");
    ASSERT_NE(documentary, nullptr);
    EXPECT_EQ(documentary->key, "Video7");
    EXPECT_EQ(documentary->subTabPosition, 8);
    EXPECT_EQ(documentary->query, "/appweb/c?cid=5&leaf_cid=32");
    EXPECT_EQ(Catalogue::find("音乐", "全部")->key, "Misc");
    EXPECT_EQ(Catalogue::find("首页", "小游戏")->key, "HomeAll");
    EXPECT_EQ(Catalogue::find("搜索", "")->builder, PageBuilder::Search);
    EXPECT_EQ(Catalogue::find("视频", "综艺")->key, "video2"); // lower case, as stored page names are
    EXPECT_EQ(Catalogue::find("音乐", "小说"), nullptr);
    EXPECT_EQ(Catalogue::find("游戏 ", "全部"), nullptr);
}

TEST(Catalogue, RebuildListAndSubTabs) {
    const auto rebuild = Catalogue::rebuildList();
    ASSERT_EQ(rebuild.size(), 32u);
    EXPECT_EQ(rebuild.front().key, "HomeAll");
    EXPECT_EQ(rebuild.back().key, "Read5");
    std::set<std::string_view> keys;
    for (const auto& entry : Catalogue::entries())
        keys.insert(entry.key);
    EXPECT_EQ(keys.size(), 33u);
    EXPECT_EQ(Catalogue::entries().back().key, "SouSuo");

    const std::vector<std::string_view> video{"全部",   "直播", "综艺",     "电视剧", "电影",
                                              "动画片", "MV",   "其它视频", "纪录片"};
    std::vector<std::string_view> captions;
    for (const auto* entry : Catalogue::subTabs("视频"))
        captions.push_back(entry->subTab);
    EXPECT_EQ(captions, video);
    EXPECT_EQ(Catalogue::subTabs("音乐").size(), 1u);
    EXPECT_TRUE(Catalogue::subTabs("首页").empty());
    EXPECT_EQ(Catalogue::mainTabs().size(), 8u);
    EXPECT_EQ(Catalogue::mainTabs()[7], "搜索");
}

TEST(Catalogue, PageAndPagingFileNames) {
    EXPECT_EQ(Catalogue::pageFile("/app", "video3"), std::filesystem::path("/app/Html/video3.html"));
    EXPECT_EQ(Catalogue::pagingFile("/app", "NextPage"),
              std::filesystem::path("/app/Html/NextPagePage.html"));
}
