#pragma once
// Where the paging bar's buttons stand on the sub-tab strip, in twips within the strip: the
// next-page and previous-page arrows and up to six page-number buttons, all on one row at top 45.
//
// The numbered links come from the paging file (PageLinkTable, up to eight). The bar shows:
// - no page-number buttons when there is no numbered link, or when the last link shown has no
//   caption (a table whose captions were cleared and not refilled);
// - every link when there are six or fewer;
// - with seven or eight, six consecutive links that include the current one: the current link is
//   the fourth of the six where the links allow it (two or more links follow it), otherwise the
//   six end with the last link; without a current mark, the last six.
// A link without an address keeps its button and caption, so the numbering has no gap, but the
// button cannot be clicked.

#include "pages/PageLinks.h"

#include <array>
#include <cstdint>
#include <string>

namespace catalogue {

// Button sizes: the pictures are 65 x 22 (arrows) and 33 x 22 (page numbers) pixels.
inline constexpr int kPagingTop = 45;
inline constexpr int kArrowWidth = 975;
inline constexpr int kPageButtonWidth = 495;
inline constexpr int kPagingButtonHeight = 330;
inline constexpr int kPageButtonCount = 6;

// Caption colours as colour integers: red for the current page, the system's button-text colour
// for the others.
inline constexpr std::int32_t kCurrentCaptionColour = 255;
inline constexpr std::int32_t kButtonTextColour = static_cast<std::int32_t>(0x80000012u);

struct PagingButton {
    bool visible = false;
    int left = 0;
    std::string url; // where a click leads; empty: the button does nothing
};

struct PageNumberButton : PagingButton {
    std::string caption;
    std::int32_t captionColour = kButtonTextColour;
};

struct PagingBarLayout {
    PagingButton next;                                    // NexitPic 0
    PagingButton previous;                                // NexitPic 1
    std::array<PageNumberButton, kPageButtonCount> pages; // PagePic 0 to 5, left to right
};

// The bar for a strip stripWidth twips wide, from the addresses and links of one paging file.
PagingBarLayout LayOutPagingBar(int stripWidth, const PagingAddresses& addresses, const PageLinkTable& links);

} // namespace catalogue
