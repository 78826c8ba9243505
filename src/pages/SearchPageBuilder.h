#pragma once
// Builds the search result page of the page cache (<key>.html, normally SouSuo) from a store search
// address; links in it point at site.storeSite.

#include "pages/PageSite.h"

#include <string_view>

// Fetches storeAddress (normalised as a browser does, so spaces and Chinese words arrive encoded)
// and writes the page file when the search cut can be made; otherwise the old page file stays.
// Returns whether the page file was written.
bool BuildSearchPage(const PageSite& site, std::string_view storeAddress, std::string_view backColor,
                     std::string_view key);
