#include "pages/Catalogue.h"

#include <algorithm>
#include <array>

namespace {

constexpr PageBuilder C = PageBuilder::Category;

constexpr std::array<CatalogueEntry, 33> kEntries{{
    {"HomeAll", "首页", "", -1, "/", PageBuilder::Home},
    {"GameAll", "游戏", "全部", 0, "/appweb/c?cid=games", C},
    {"MinGame", "游戏", "小游戏", 1, "/appweb/c?cid=1&leaf_cid=7", C},
    {"WebGame", "游戏", "网页游戏", 2, "/appweb/c?cid=1&leaf_cid=8", C},
    {"GameTools", "游戏", "游戏工具", 3, "/appweb/c?cid=1&leaf_cid=9", C},
    {"VideoAll", "视频", "全部", 0, "/appweb/c?cid=5", C},
    {"Video1", "视频", "直播", 1, "/appweb/c?cid=5&leaf_cid=21", C},
    {"video2", "视频", "综艺", 2, "/appweb/c?cid=5&leaf_cid=27", C},
    {"video3", "视频", "电视剧", 3, "/appweb/c?cid=5&leaf_cid=28", C},
    {"Video4", "视频", "电影", 4, "/appweb/c?cid=5&leaf_cid=29", C},
    {"Video5", "视频", "动画片", 5, "/appweb/c?cid=5&leaf_cid=30", C},
    {"Video6", "视频", "MV", 6, "/appweb/c?cid=5&leaf_cid=31", C},
    // Keys follow the store's leaf numbers, positions follow the tab strip.
    {"Video7", "视频", "纪录片", 8, "/appweb/c?cid=5&leaf_cid=32", C},
    {"Video8", "视频", "其它视频", 7, "/appweb/c?cid=5&leaf_cid=33", C},
    {"LifeAll", "生活", "全部", 0, "/appweb/c?cid=6", C},
    {"Life1", "生活", "订票", 1, "/appweb/c?cid=6&leaf_cid=22", C},
    {"Life2", "生活", "出行", 2, "/appweb/c?cid=6&leaf_cid=23", C},
    {"Life3", "生活", "美食", 3, "/appweb/c?cid=6&leaf_cid=24", C},
    {"Life4", "生活", "健康", 4, "/appweb/c?cid=6&leaf_cid=25", C},
    {"ToolsAll", "工具", "全部", 0, "/appweb/c?cid=3", C},
    {"Tools1", "工具", "实用", 1, "/appweb/c?cid=3&leaf_cid=11", C},
    {"Tools2", "工具", "娱乐", 2, "/appweb/c?cid=3&leaf_cid=12", C},
    {"Tools3", "工具", "媒体", 3, "/appweb/c?cid=3&leaf_cid=13", C},
    {"Tools4", "工具", "安全", 4, "/appweb/c?cid=3&leaf_cid=14", C},
    {"Tools5", "工具", "其它工具", 5, "/appweb/c?cid=3&leaf_cid=15", C},
    {"Misc", "音乐", "全部", 0, "/appweb/c?cid=2", C},
    {"ReadAll", "阅读", "全部", 0, "/appweb/c?cid=4", C},
    {"Read1", "阅读", "小说", 1, "/appweb/c?cid=4&leaf_cid=16", C},
    {"Read2", "阅读", "电子杂志", 2, "/appweb/c?cid=4&leaf_cid=17", C},
    {"Read3", "阅读", "漫画", 3, "/appweb/c?cid=4&leaf_cid=18", C},
    {"Read4", "阅读", "文学", 4, "/appweb/c?cid=4&leaf_cid=19", C},
    {"Read5", "阅读", "其它阅读", 5, "/appweb/c?cid=4&leaf_cid=20", C},
    {"SouSuo", "搜索", "", -1, "/appweb/search?w=", PageBuilder::Search},
}};

} // namespace

std::span<const CatalogueEntry> Catalogue::entries() {
    return kEntries;
}

std::span<const CatalogueEntry> Catalogue::rebuildList() {
    return entries().first(kEntries.size() - 1);
}

const std::vector<std::string_view>& Catalogue::mainTabs() {
    static const std::vector<std::string_view> tabs{"首页", "游戏", "视频", "音乐",
                                                    "生活", "工具", "阅读", "搜索"};
    return tabs;
}

std::vector<const CatalogueEntry*> Catalogue::subTabs(std::string_view mainTab) {
    std::vector<const CatalogueEntry*> rows;
    for (const auto& entry : kEntries)
        if (entry.mainTab == mainTab && entry.subTabPosition >= 0) rows.push_back(&entry);
    std::sort(rows.begin(), rows.end(), [](const CatalogueEntry* a, const CatalogueEntry* b) {
        return a->subTabPosition < b->subTabPosition;
    });
    return rows;
}

const CatalogueEntry* Catalogue::find(std::string_view mainTab, std::string_view subTab) {
    for (const auto& entry : kEntries) {
        if (entry.mainTab != mainTab) continue;
        if (entry.subTabPosition < 0 || entry.subTab == subTab) return &entry;
    }
    return nullptr;
}

std::string Catalogue::storeAddress(std::string_view site, const CatalogueEntry& entry) {
    return std::string(site) + std::string(entry.query);
}

std::filesystem::path Catalogue::htmlFolder(const std::filesystem::path& appFolder) {
    return appFolder / "Html";
}

std::filesystem::path Catalogue::pageFile(const std::filesystem::path& appFolder, std::string_view key) {
    return htmlFolder(appFolder) / pageFileName(key);
}

std::filesystem::path Catalogue::pagingFile(const std::filesystem::path& appFolder, std::string_view key) {
    return htmlFolder(appFolder) / pagingFileName(key);
}

std::string Catalogue::pageFileName(std::string_view key) {
    return std::string(key) + ".html";
}

std::string Catalogue::pagingFileName(std::string_view key) {
    return std::string(key) + "Page.html";
}
