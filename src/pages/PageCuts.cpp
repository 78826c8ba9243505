#include "pages/PageCuts.h"

#include "base/Text.h"

namespace pagecuts {

namespace {

// The text before the first of the given end markers that occurs, trying them in order.
std::optional<std::string> beforeEnd(std::string_view text, std::string_view end,
                                     std::string_view fallback = {}) {
    auto at = text.find(end);
    if (at == std::string_view::npos && !fallback.empty()) at = text.find(fallback);
    if (at == std::string_view::npos) return std::nullopt;
    return std::string(text.substr(0, at));
}

std::string_view fromMarker(std::string_view text, std::string_view marker) {
    auto at = text.find(marker);
    return at == std::string_view::npos ? text : text.substr(at);
}

} // namespace

std::optional<std::string> cutCategoryList(std::string_view fetched) {
    return beforeEnd(fromMarker(fetched, kAppListMarker), kPaginationMarker, kHtmlEndMarker);
}

std::optional<std::string> cutPagingBlock(std::string_view fetched) {
    if (!base::contains(fetched, kPaginationMarker)) return std::nullopt;
    return beforeEnd(fromMarker(fetched, kPaginationMarker), kHtmlEndMarker);
}

std::optional<std::string> cutHomePage(std::string_view fetched) {
    return beforeEnd(fromMarker(fetched, kHomeStartMarker), kHomeEndMarker);
}

std::optional<std::string> cutSearchPage(std::string_view fetched, std::string_view storeSite) {
    if (!base::contains(fetched, kSearchStartMarker)) return std::nullopt;
    auto kept = beforeEnd(fromMarker(fetched, kSearchStartMarker), kSearchEndMarker, kHtmlEndMarker);
    if (!kept) return std::nullopt;
    std::string text = base::replaceAll(*kept, "<li>返回<a href=\"/\">应用商店首页</a></li>", "");
    text = base::replaceAll(text, "<span class=\"developer_name", "<!-- ");
    text = base::replaceAll(text, "</a></span>", " -->");
    return base::replaceAll(text, "<a href=\"/", "<a href=\"" + std::string(storeSite) + "/");
}

} // namespace pagecuts
