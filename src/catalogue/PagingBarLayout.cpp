#include "catalogue/PagingBarLayout.h"

#include <algorithm>

namespace catalogue {

namespace {

struct LinkRange {
    int first = 0, count = 0;
};

LinkRange shownLinks(const PageLinkTable& links) {
    const int total = std::clamp(links.PageLinkCount, 0, static_cast<int>(links.PageLinks.size()));
    if (total <= kPageButtonCount) return {0, total};
    const int lastStart = total - kPageButtonCount;
    const auto current = std::find_if(links.PageLinks.begin(), links.PageLinks.begin() + total,
                                      [](const PageLink& l) { return l.IsCurrent; });
    if (current == links.PageLinks.begin() + total) return {lastStart, kPageButtonCount};
    const int currentIndex = static_cast<int>(current - links.PageLinks.begin());
    return {std::clamp(currentIndex - 3, 0, lastStart), kPageButtonCount};
}

} // namespace

PagingBarLayout LayOutPagingBar(int stripWidth, const PagingAddresses& addresses,
                                const PageLinkTable& links) {
    PagingBarLayout bar;
    const int nextLeft = stripWidth - kArrowWidth - 100;
    if (!addresses.next.empty()) bar.next = {true, nextLeft, addresses.next};

    LinkRange range = shownLinks(links);
    if (range.count > 0 && links.PageLinks[range.first + range.count - 1].Caption.empty()) range.count = 0;
    // Right to left, edge to edge, the rightmost one 50 twips left of the next-page arrow's place
    // (which counts even while that arrow is hidden).
    int left = stripWidth - kArrowWidth - 150;
    for (int i = range.count - 1; i >= 0; --i) {
        const PageLink& link = links.PageLinks[range.first + i];
        left -= kPageButtonWidth;
        PageNumberButton& button = bar.pages[i];
        button.visible = true;
        button.left = left;
        button.url = link.Url;
        button.caption = link.Caption;
        button.captionColour = link.IsCurrent ? kCurrentCaptionColour : kButtonTextColour;
    }

    if (addresses.previous.empty()) return bar;
    int previousLeft = stripWidth - kArrowWidth - 100; // the next-page arrow's place
    if (bar.next.visible) {
        // Left of the page-number buttons, or of the next-page arrow when there are none.
        const int rowLeft = range.count > 0 ? left : nextLeft;
        previousLeft = rowLeft - kArrowWidth - 80;
    }
    bar.previous = {true, previousLeft, addresses.previous};
    return bar;
}

} // namespace catalogue
