#include "pages/AppDetail.h"

#include "base/Text.h"
#include "base/Url.h"
#include "pages/FetchText.h"

#include <array>
#include <optional>
#include <utility>

namespace {

constexpr std::string_view kNameMarker = "app_name:";
constexpr std::string_view kMovieMarker = "flash : ";
constexpr std::string_view kDescriptionMarker = "description : ";
constexpr std::string_view kLogoMarker = "app_logo : ";
constexpr std::string_view kIconMarker = "app_icon : ";
constexpr std::string_view kDeveloperNameMarker = "developer_name : ";
constexpr std::string_view kDeveloperEmailMarker = "developer_email : ";
constexpr std::string_view kDeveloperIntroductionMarker = "developer_introduction : ";
constexpr std::string_view kFrameMarker = "<iframe ";
constexpr std::string_view kCanvasMarker = "<iframe name=\"iframe_canvas\"";
constexpr std::string_view kSrc = "src=";
constexpr std::string_view kMovieEnd = ".swf";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kShortestMovie = 10; // characters

// A quoted script value: after the marker and its opening quote, up to the character before the
// first comma (the closing quote). Empty when the cut cannot be made.
std::string quotedValue(std::string_view page, std::string_view marker) {
    const auto rest = base::afterMarker(page, marker);
    if (!rest) return {};
    const auto comma = rest->find(',');
    if (comma == std::string_view::npos || comma == 0) return {};
    return base::withoutLastChar(rest->substr(0, comma));
}

// The description keeps its closing quote and the comma.
std::string descriptionValue(std::string_view page) {
    const auto rest = base::afterMarker(page, kDescriptionMarker);
    if (!rest) return {};
    const auto comma = rest->find(',');
    return comma == std::string_view::npos ? std::string() : std::string(rest->substr(0, comma + 1));
}

// From the marker, up to and including the first ".swf"; nothing without either.
std::optional<std::string> movieCandidate(std::string_view page) {
    const auto rest = base::afterMarker(page, kMovieMarker);
    if (!rest) return std::nullopt;
    const auto end = rest->find(kMovieEnd);
    if (end == std::string_view::npos) return std::nullopt;
    return std::string(rest->substr(0, end + kMovieEnd.size()));
}

// The quoted address of the first "src=" in text: after the opening quote, up to the next double
// quote. Empty when either is missing.
std::string sourceAddress(std::string_view text) {
    const auto rest = base::afterMarker(text, kSrc);
    if (!rest) return {};
    const auto quote = rest->find('"');
    return quote == std::string_view::npos ? std::string() : std::string(rest->substr(0, quote));
}

// A page app's content: its frame page's address, or the canvas frame's address inside that page.
std::string frameContent(std::string_view page,
                         const std::function<std::string(std::string_view)>& fetchPage) {
    const auto frame = base::afterMarker(page, kFrameMarker);
    if (!frame) return {};
    const std::string outer = sourceAddress(*frame);
    if (!base::isWebAddress(outer)) return {};
    const std::string framePage = fetchPage(outer);
    const auto canvas = framePage.find(kCanvasMarker);
    if (canvas == std::string::npos) return outer;
    const std::string inner = sourceAddress(std::string_view(framePage).substr(canvas + 1));
    return base::isWebAddress(inner) ? inner : outer;
}

std::string developerBlock(std::string_view page) {
    const std::array<std::pair<std::string_view, std::string_view>, 3> rows{{
        {"提供商：", kDeveloperNameMarker},
        {"Email：", kDeveloperEmailMarker},
        {"提供商介绍：", kDeveloperIntroductionMarker},
    }};
    std::string block;
    for (const auto& [label, marker] : rows) {
        block += label;
        block += kLineEnd;
        block += "     ";
        block += quotedValue(page, marker);
        block += kLineEnd;
    }
    return block;
}

} // namespace

AppDetail ParseAppDetail(std::string_view page,
                         const std::function<std::string(std::string_view)>& fetchPage) {
    AppDetail detail;
    detail.Name = quotedValue(page, kNameMarker);
    const auto movie = movieCandidate(page);
    if (movie && base::charCount(*movie) >= kShortestMovie) {
        detail.ContentUrl = *movie;
        detail.MovieFile = movie->substr(movie->rfind('/') + 1); // npos + 1 keeps the whole text
    } else {
        detail.ContentUrl = frameContent(page, fetchPage);
    }
    detail.Description = CleanText(descriptionValue(page));
    detail.Logo = quotedValue(page, kLogoMarker);
    detail.Icon = quotedValue(page, kIconMarker);
    detail.Developer = CleanText(developerBlock(page));
    return detail;
}

AppDetail ReadAppDetail(std::string_view detailAddress) {
    const auto fetch = [](std::string_view address) { return FetchText(address, "utf-8"); };
    return ParseAppDetail(fetch(detailAddress), fetch);
}

std::string CleanText(std::string text) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kBefore{{
        {"&#93;", ""},
        {"&#91;", ""},
        {"&amp;nbsp;", ""},
        {"&lt;br", kLineEnd},
        {"\\r\\n", kLineEnd},
        {"&gt;", ""},
        {"</h2>", kLineEnd},
    }};
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kAfter{{
        {"<br />", kLineEnd},
        {"<br/>", kLineEnd},
        {"<BR>", kLineEnd},
        {"<br>", kLineEnd},
        {"&nbsp;", " "},
    }};
    for (const auto& [from, to] : kBefore)
        text = base::replaceAll(text, from, to);
    text += "     ";
    for (const auto& [from, to] : kAfter)
        text = base::replaceAll(text, from, to);
    return text;
}
