#include "pages/HomePageBuilder.h"

#include "pages/FetchText.h"
#include "pages/PageCuts.h"
#include "pages/PageWrapper.h"

bool BuildHomePage(const PageSite& site, std::string_view storeAddress, std::string_view backColor,
                   std::string_view key) {
    return WriteHomePage(site, FetchText(storeAddress, "utf-8"), backColor, key);
}

bool WriteHomePage(const PageSite& site, std::string_view fetched, std::string_view backColor,
                   std::string_view key) {
    const auto kept = pagecuts::cutHomePage(fetched);
    return kept && pagewrapper::writePageFile(site, key, backColor, *kept);
}
