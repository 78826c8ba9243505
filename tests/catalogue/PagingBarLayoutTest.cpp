#include "catalogue/PagingBarLayout.h"

#include <gtest/gtest.h>

using namespace catalogue;

namespace {

constexpr int Strip = 13000;
constexpr int NextLeft = Strip - 975 - 100;            // 11925
constexpr int RightmostPage = Strip - 975 - 150 - 495; // 11380

// A table of count links captioned "1", "2", ..., the given one current; entries past count carry
// stale values that must never show.
PageLinkTable links(int count, int current = -1) {
    PageLinkTable table;
    for (int i = 0; i < 8; ++i)
        table.PageLinks[i] = {"/p" + std::to_string(i + 1), std::to_string(i + 1), i == current};
    for (int i = count; i < 8; ++i)
        table.PageLinks[i] = {"/stale", "stale", true};
    table.PageLinkCount = count;
    return table;
}

std::vector<std::string> shownCaptions(const PagingBarLayout& bar) {
    std::vector<std::string> captions;
    for (const auto& page : bar.pages)
        if (page.visible) captions.push_back(page.caption);
    return captions;
}

} // namespace

TEST(PagingBarLayout, MiddlePageHasBothArrowsAndButtonsEdgeToEdgeFromTheRight) {
    const auto bar = LayOutPagingBar(Strip, {"/next", "/prev"}, links(3, 1));
    EXPECT_TRUE(bar.next.visible);
    EXPECT_EQ(bar.next.left, NextLeft);
    EXPECT_EQ(bar.next.url, "/next");
    EXPECT_EQ(bar.pages[2].left, RightmostPage);
    EXPECT_EQ(bar.pages[1].left, RightmostPage - 495);
    EXPECT_EQ(bar.pages[0].left, RightmostPage - 2 * 495);
    EXPECT_EQ(shownCaptions(bar), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(bar.pages[0].url, "/p1");
    EXPECT_EQ(bar.pages[1].captionColour, 255); // the current page's caption is red
    EXPECT_EQ(bar.pages[0].captionColour, kButtonTextColour);
    EXPECT_EQ(bar.pages[2].captionColour, kButtonTextColour);
    EXPECT_TRUE(bar.previous.visible);
    EXPECT_EQ(bar.previous.left, bar.pages[0].left - 975 - 80);
    EXPECT_EQ(bar.previous.url, "/prev");
    // The rightmost page button ends 50 twips left of the next arrow.
    EXPECT_EQ(bar.pages[2].left + kPageButtonWidth + 50, bar.next.left);
}

TEST(PagingBarLayout, ArrowsFollowTheAddressesThatExist) {
    // Last page: the previous arrow takes the next arrow's place; the page buttons do not move.
    auto bar = LayOutPagingBar(Strip, {"", "/prev"}, links(3, 2));
    EXPECT_FALSE(bar.next.visible);
    EXPECT_TRUE(bar.previous.visible);
    EXPECT_EQ(bar.previous.left, NextLeft);
    EXPECT_EQ(bar.pages[2].left, RightmostPage);

    // First page: only the next arrow.
    bar = LayOutPagingBar(Strip, {"/next", ""}, links(3, 0));
    EXPECT_TRUE(bar.next.visible);
    EXPECT_FALSE(bar.previous.visible);

    // A single store page: no arrow at all, its one number button.
    bar = LayOutPagingBar(Strip, {"", ""}, links(1, 0));
    EXPECT_FALSE(bar.next.visible);
    EXPECT_FALSE(bar.previous.visible);
    EXPECT_EQ(shownCaptions(bar), std::vector<std::string>{"1"});
    EXPECT_EQ(bar.pages[0].left, RightmostPage);
}

TEST(PagingBarLayout, NoNumberedLinkOrAnEmptyLastCaptionShowsNoPageButtons) {
    for (const PageLinkTable& table : {links(0), [] {
                                           auto t = links(4, 1);
                                           t.PageLinks[3].Caption.clear();
                                           return t;
                                       }()}) {
        const auto bar = LayOutPagingBar(Strip, {"/next", "/prev"}, table);
        EXPECT_TRUE(shownCaptions(bar).empty());
        // The previous arrow then stands just left of the next arrow.
        EXPECT_EQ(bar.previous.left, NextLeft - 975 - 80);
    }
    // A count out of range reads as none or as the eight the table holds.
    EXPECT_TRUE(shownCaptions(LayOutPagingBar(Strip, {},
                                              [] {
                                                  auto t = links(0);
                                                  t.PageLinkCount = -3;
                                                  return t;
                                              }()))
                    .empty());
    auto over = links(8);
    over.PageLinkCount = 12;
    EXPECT_EQ(shownCaptions(LayOutPagingBar(Strip, {}, over)).back(), "8");
}

TEST(PagingBarLayout, MoreThanSixLinksShowSixThatIncludeTheCurrentOne) {
    using Captions = std::vector<std::string>;
    EXPECT_EQ(shownCaptions(LayOutPagingBar(Strip, {}, links(8, 0))),
              (Captions{"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(shownCaptions(LayOutPagingBar(Strip, {}, links(8, 3))),
              (Captions{"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(shownCaptions(LayOutPagingBar(Strip, {}, links(8, 4))),
              (Captions{"2", "3", "4", "5", "6", "7"}));
    EXPECT_EQ(shownCaptions(LayOutPagingBar(Strip, {}, links(8, 7))),
              (Captions{"3", "4", "5", "6", "7", "8"}));
    EXPECT_EQ(shownCaptions(LayOutPagingBar(Strip, {}, links(7, 6))),
              (Captions{"2", "3", "4", "5", "6", "7"}));
    EXPECT_EQ(shownCaptions(LayOutPagingBar(Strip, {}, links(8))), (Captions{"3", "4", "5", "6", "7", "8"}));

    const auto bar = LayOutPagingBar(Strip, {}, links(8, 4));
    EXPECT_EQ(bar.pages[3].captionColour, 255);
    EXPECT_EQ(bar.pages[3].url, "/p5"); // each button leads to its own link
    EXPECT_EQ(bar.pages[5].left, RightmostPage);
}

TEST(PagingBarLayout, LinkWithoutAddressKeepsItsPlaceButLeadsNowhere) {
    auto table = links(3, 0);
    table.PageLinks[1].Url.clear();
    const auto bar = LayOutPagingBar(Strip, {"/next", ""}, table);
    EXPECT_EQ(shownCaptions(bar), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_TRUE(bar.pages[1].url.empty());
    EXPECT_EQ(bar.pages[1].left, RightmostPage - 495);
}
