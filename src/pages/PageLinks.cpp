#include "pages/PageLinks.h"

#include "base/Text.h"
#include "pages/FetchText.h"

namespace {

constexpr std::string_view kPreviousMarker = "<a class=\"prev\" href=";
constexpr std::string_view kNextMarker = "<a class=\"next\" href=";
constexpr std::string_view kItemMarker = "<a class=\"item";
constexpr std::string_view kLinkEnd = "</a>";
constexpr std::string_view kHref = "href=";

std::string withoutAmp(std::string_view address) {
    return base::replaceAll(address, "amp;", "");
}

// The quoted address behind an arrow link's marker, without its closing quote. Empty when the
// marker is missing or the tag is never closed with ">".
std::string arrowAddress(std::string_view text, std::string_view marker) {
    const auto rest = base::afterMarker(text, marker);
    if (!rest) return {};
    const auto close = rest->find('>');
    if (close == std::string_view::npos) return {};
    const std::string_view quoted = rest->substr(0, close);
    return withoutAmp(base::withoutLastChar(quoted));
}

PageLink numberedLink(std::string_view linkText) {
    PageLink link;
    link.IsCurrent = base::contains(linkText, "current");
    if (const auto address = base::afterMarker(linkText, kHref)) {
        linkText = *address;
        const auto quote = linkText.find('"');
        if (quote != std::string_view::npos) link.Url = withoutAmp(linkText.substr(0, quote));
    }
    const auto close = linkText.find('>');
    if (close != std::string_view::npos) link.Caption = std::string(linkText.substr(close + 1));
    return link;
}

} // namespace

PagingAddresses ParsePageLinks(std::string_view text, PageLinkTable& table) {
    PagingAddresses addresses{arrowAddress(text, kNextMarker), arrowAddress(text, kPreviousMarker)};
    table.PageLinkCount = 0;
    while (table.PageLinkCount < static_cast<int>(table.PageLinks.size())) {
        const auto rest = base::afterMarker(text, kItemMarker);
        if (!rest) break;
        // Advance only past the marker: the next search starts inside the link just read.
        text = *rest;
        const auto end = text.find(kLinkEnd);
        if (end == std::string_view::npos) break;
        table.PageLinks[table.PageLinkCount++] = numberedLink(text.substr(0, end));
    }
    return addresses;
}

PagingAddresses ReadPageLinks(const std::filesystem::path& pagingFile, PageLinkTable& table) {
    return ParsePageLinks(FetchText(pagingFile.string(), "utf-8"), table);
}
