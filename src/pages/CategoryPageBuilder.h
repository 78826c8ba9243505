#pragma once
// Builds one category page of the page cache from the store: the page file <key>.html (the app
// list wrapped in the page frame) and the paging file <key>Page.html (the store's pagination block).

#include "pages/PageLinks.h"
#include "pages/PageSite.h"

#include <string_view>

// Fetches storeAddress and writes the page file when its cut can be made, and the paging file when
// the page has a complete pagination block; a file whose cut fails keeps its old contents. When
// links is given (the catalogue window's table), the captions and current marks of its entries 0
// to 6 are cleared first. Returns whether the page file was written.
bool BuildCategoryPage(const PageSite& site, std::string_view key, std::string_view storeAddress,
                       std::string_view backColor, PageLinkTable* links);

// The same from a store page fetched already (empty when it could not be fetched).
bool WriteCategoryPage(const PageSite& site, std::string_view key, std::string_view fetched,
                       std::string_view backColor);
