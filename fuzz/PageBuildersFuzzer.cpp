// Feeds arbitrary bytes through the decoding and the page cuts that the builders apply to a
// fetched store page, and checks what every cut promises about its result.

#include "pages/FetchText.h"
#include "pages/PageCuts.h"
#include "pages/PageWrapper.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

bool startsWith(const std::string& text, std::string_view prefix) {
    return text.starts_with(prefix);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text = DecodeBody(std::string_view(reinterpret_cast<const char*>(data), size), "utf-8");

    if (const auto list = pagecuts::cutCategoryList(text)) {
        require(text.find(*list) != std::string::npos);
        require(list->find(pagecuts::kPaginationMarker) == std::string::npos);
        const std::string page = pagewrapper::wrap("http://static", "#E1EAF6", *list);
        require(page.ends_with(std::string(pagewrapper::kFooter) + "\r\n"));
    }
    if (const auto paging = pagecuts::cutPagingBlock(text)) {
        require(startsWith(*paging, pagecuts::kPaginationMarker));
        require(paging->find(pagecuts::kHtmlEndMarker) == std::string::npos);
    }
    if (const auto home = pagecuts::cutHomePage(text))
        require(home->find(pagecuts::kHomeEndMarker) == std::string::npos);
    if (const auto search = pagecuts::cutSearchPage(text, "http://store")) {
        require(startsWith(*search, pagecuts::kSearchStartMarker));
        require(search->find("<span class=\"developer_name") == std::string::npos);
    }
    return 0;
}
