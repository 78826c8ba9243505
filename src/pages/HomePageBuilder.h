#pragma once
// Builds the home page of the page cache (<key>.html, normally HomeAll) from the store's root page.

#include "pages/PageSite.h"

#include <string_view>

// Fetches storeAddress and writes the page file when the home cut can be made; otherwise the old
// page file stays. Returns whether the page file was written.
bool BuildHomePage(const PageSite& site, std::string_view storeAddress, std::string_view backColor,
                   std::string_view key);

// The same from a store page fetched already (empty when it could not be fetched).
bool WriteHomePage(const PageSite& site, std::string_view fetched, std::string_view backColor,
                   std::string_view key);
