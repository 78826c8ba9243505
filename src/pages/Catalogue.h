#pragma once
// The fixed table of catalogue pages: which tab captions show which page, from which query on the
// store site it is built, under which key its local copy lives in the page cache, and which builder
// makes it. Both programs carry this one table, so their page file names agree.

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class PageBuilder { Home, Search, Category };

struct CatalogueEntry {
    std::string_view key;     // exact file name stem in Html, letter case included
    std::string_view mainTab; // caption of the main tab
    std::string_view subTab;  // caption of the sub-tab; empty for the pages chosen by the main tab alone
    int subTabPosition;       // 0-based position in the sub-tab strip; -1: none
    std::string_view query;   // path and query on the store site (the search text is appended to SouSuo's)
    PageBuilder builder;
};

class Catalogue {
  public:
    // All 33 rows in table order.
    static std::span<const CatalogueEntry> entries();
    // The rows that the updater rebuilds, HomeAll to Read5 (32 rows; SouSuo is not among them).
    static std::span<const CatalogueEntry> rebuildList();
    // The eight main tab captions in tab order.
    static const std::vector<std::string_view>& mainTabs();
    // The rows of a main tab that have a sub-tab, in sub-tab position order.
    static std::vector<const CatalogueEntry*> subTabs(std::string_view mainTab);
    // Exact, case-sensitive look-up by captions; HomeAll and SouSuo match by the main tab alone
    // (any sub-tab caption). nullptr when nothing matches.
    static const CatalogueEntry* find(std::string_view mainTab, std::string_view subTab);
    // Store site (scheme and host, no trailing "/") followed by the entry's query.
    static std::string storeAddress(std::string_view site, const CatalogueEntry& entry);

    // The page cache folder of the application folder.
    static std::filesystem::path htmlFolder(const std::filesystem::path& appFolder);
    // appFolder/Html/<key>.html
    static std::filesystem::path pageFile(const std::filesystem::path& appFolder, std::string_view key);
    // appFolder/Html/<key>Page.html
    static std::filesystem::path pagingFile(const std::filesystem::path& appFolder, std::string_view key);
    // The file names alone, "<key>.html" and "<key>Page.html".
    static std::string pageFileName(std::string_view key);
    static std::string pagingFileName(std::string_view key);
};

// Keys outside the table: every page reached through a paging link is built under NextPage.
inline constexpr std::string_view kNextPageKey = "NextPage";
inline constexpr std::string_view kHomeKey = "HomeAll";
inline constexpr std::string_view kSearchKey = "SouSuo";
