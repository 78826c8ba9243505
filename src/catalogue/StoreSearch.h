#pragma once
// The rules of searching the store: the address a search from the search box asks for, which
// navigations of the home browser are searches that the window shows as its local page, and where
// the store's relative links in the local pages lead.

#include <string>
#include <string_view>

namespace catalogue {

// storeSite + "/appweb/search?w=" + text, the text exactly as typed (the page fetch encodes spaces
// and Chinese words as a browser does).
std::string SearchAddress(std::string_view storeSite, std::string_view text);

// True when the address contains storeSite + "/appweb/search" anywhere.
bool IsStoreSearch(std::string_view address, std::string_view storeSite);

// The address a link of store content leads to. The local pages keep the store's root-relative
// links ("/appweb/app?id=3" in search results), which the view resolves against the page file
// ("file:///appweb/app?id=3"); those of the store's app and search areas ("/appweb/", "/widget/")
// lead to the store site. Any other address stays as it is.
std::string StoreLinkAddress(std::string_view address, std::string_view storeSite);

} // namespace catalogue
