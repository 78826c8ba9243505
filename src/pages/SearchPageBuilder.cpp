#include "pages/SearchPageBuilder.h"

#include "pages/FetchText.h"
#include "pages/PageCuts.h"
#include "pages/PageWrapper.h"

bool BuildSearchPage(const PageSite& site, std::string_view storeAddress, std::string_view backColor,
                     std::string_view key) {
    const auto kept = pagecuts::cutSearchPage(FetchText(storeAddress, "utf-8"), site.storeSite);
    return kept && pagewrapper::writePageFile(site, key, backColor, *kept);
}
