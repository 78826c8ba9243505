#pragma once
// HTML pieces shared by the store's pages: escaping, the page frame (header, navigation, footer)
// and the app list items.

#include "StoreCatalog.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace appstore {

std::string escapeHtml(std::string_view text);

// Percent-encodes a query value as UTF-8 bytes (unreserved characters stay).
std::string encodeQueryValue(std::string_view text);

// A whole decimal number as the store's queries carry them, or nothing for any other text.
std::optional<int> wholeNumber(std::string_view text);

// The store's query text for a top category: "games" for the games, the number otherwise.
std::string cidText(int cid);

struct PageFrame {
    std::string_view site;  // scheme and host of the store, for absolute addresses
    std::string_view title; // shown before the store's name in the window title
    int activeCid = 0;      // highlighted main navigation entry; 0 is the home page
    std::string_view searchWords;
};

// A whole store page: header with search box and navigation, the body, the end-of-content mark
// "<!--HTML END-->" and the footer.
std::string framedPage(const std::vector<StoreCategory>& categories, const PageFrame& frame,
                       std::string_view body);

// How app links are written: list and home pages link absolutely to the store site (they are
// copied into local pages unchanged); search results link relative to the site's root and show
// the developer's name with a link to a search for it.
enum class LinkStyle { Absolute, SearchResult };

std::string appListItems(const std::vector<StoreApp>& apps, std::string_view site, LinkStyle style);

} // namespace appstore
