#pragma once
// The two rules of searching the store: the address a search from the search box asks for, and
// which navigations of the home browser are searches that the window shows as its local page.

#include <string>
#include <string_view>

namespace catalogue {

// storeSite + "/appweb/search?w=" + text, the text exactly as typed (the page fetch encodes spaces
// and Chinese words as a browser does).
std::string SearchAddress(std::string_view storeSite, std::string_view text);

// True when the address contains storeSite + "/appweb/search" anywhere.
bool IsStoreSearch(std::string_view address, std::string_view storeSite);

} // namespace catalogue
