#include "pages/CategoryPageBuilder.h"

#include "base/AtomicFile.h"
#include "pages/Catalogue.h"
#include "pages/FetchText.h"
#include "pages/PageCuts.h"
#include "pages/PageWrapper.h"

bool BuildCategoryPage(const PageSite& site, std::string_view key, std::string_view storeAddress,
                       std::string_view backColor, PageLinkTable* links) {
    if (links) {
        // Entries 0 to 6 only: entry 7, the URLs and the count stay as the last read left them.
        for (int i = 0; i < 7; ++i) {
            links->PageLinks[i].Caption.clear();
            links->PageLinks[i].IsCurrent = false;
        }
    }
    return WriteCategoryPage(site, key, FetchText(storeAddress, "utf-8"), backColor);
}

bool WriteCategoryPage(const PageSite& site, std::string_view key, std::string_view fetched,
                       std::string_view backColor) {
    const auto list = pagecuts::cutCategoryList(fetched);
    const bool written = list && pagewrapper::writePageFile(site, key, backColor, *list);
    if (const auto paging = pagecuts::cutPagingBlock(fetched)) {
        std::string file = *paging;
        file += pagewrapper::kLineEnd;
        base::writeFileAtomicIfChanged(site.htmlDir / Catalogue::pagingFileName(key), file);
    }
    return written;
}
