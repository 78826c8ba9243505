#pragma once
// The cuts that turn a fetched store page into the part kept in the page cache. Pure text
// functions (first-occurrence, case-sensitive marker search), so they can be tested and fuzzed
// without a network. std::nullopt means the cut cannot be made and no file should be written.

#include <optional>
#include <string>
#include <string_view>

namespace pagecuts {

inline constexpr std::string_view kAppListMarker = "<div class=\"category-all-app-list\">";
inline constexpr std::string_view kPaginationMarker = "<div class=\"pagination clearfix\">";
inline constexpr std::string_view kHtmlEndMarker = "<!--HTML END-->";
inline constexpr std::string_view kHomeStartMarker = "<div class=\"container-coloum-1\">";
inline constexpr std::string_view kHomeEndMarker = "<div class=\"container-coloum-2 clearfix index-bottom\">";
inline constexpr std::string_view kSearchStartMarker = "<div class=\"content clearfix\">";
inline constexpr std::string_view kSearchEndMarker = "<div id=\"PopularRecommend";

// App list of a category page: from the app-list marker (or the first character when it is
// missing) to just before the pagination block, or before the end marker when there is no
// pagination block. nullopt when neither follows.
std::optional<std::string> cutCategoryList(std::string_view fetched);

// Pagination block of a category page: from its marker to just before the following end marker.
// nullopt when the marker or the following end marker is missing.
std::optional<std::string> cutPagingBlock(std::string_view fetched);

// Home page: from the home start marker (or the first character) to just before the home end
// marker; nullopt when the end marker does not follow. The kept text is not changed.
std::optional<std::string> cutHomePage(std::string_view fetched);

// Search results: from the search start marker to just before "PopularRecommend" (or the end
// marker), with the breadcrumb removed, developer names commented out and root-relative links
// made absolute on storeSite. nullopt when the start marker is missing or no end follows.
std::optional<std::string> cutSearchPage(std::string_view fetched, std::string_view storeSite);

} // namespace pagecuts
