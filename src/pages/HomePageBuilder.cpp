#include "pages/HomePageBuilder.h"

#include "pages/FetchText.h"
#include "pages/PageCuts.h"
#include "pages/PageWrapper.h"

bool BuildHomePage(const PageSite& site, std::string_view storeAddress, std::string_view backColor,
                   std::string_view key) {
    const auto kept = pagecuts::cutHomePage(FetchText(storeAddress, "utf-8"));
    return kept && pagewrapper::writePageFile(site, key, backColor, *kept);
}
