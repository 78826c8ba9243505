#include "catalogue/StoreSearch.h"

#include "pages/Catalogue.h"

#include <cstdlib>

namespace catalogue {

namespace {

const CatalogueEntry& searchEntry() {
    for (const CatalogueEntry& entry : Catalogue::entries())
        if (entry.key == kSearchKey) return entry;
    std::abort(); // the fixed table always has the search row
}

} // namespace

std::string SearchAddress(std::string_view storeSite, std::string_view text) {
    return Catalogue::storeAddress(storeSite, searchEntry()) + std::string(text);
}

bool IsStoreSearch(std::string_view address, std::string_view storeSite) {
    return address.find(std::string(storeSite) + "/appweb/search") != std::string_view::npos;
}

std::string StoreLinkAddress(std::string_view address, std::string_view storeSite) {
    constexpr std::string_view localRoot = "file://";
    if (!address.starts_with(localRoot)) return std::string(address);
    const std::string_view path = address.substr(localRoot.size());
    if (!path.starts_with("/appweb/") && !path.starts_with("/widget/")) return std::string(address);
    return std::string(storeSite) + std::string(path);
}

} // namespace catalogue
