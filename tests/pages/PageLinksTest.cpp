#include "pages/PageLinks.h"

#include "PageFiles.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

std::string item(const std::string& url, const std::string& caption, bool current = false) {
    return "<a class=\"item" + std::string(current ? " current" : "") + "\" href=\"" + url + "\">" + caption +
           "</a>";
}

PageLinkTable filledTable() {
    PageLinkTable table;
    for (int i = 0; i < 8; ++i)
        table.PageLinks[i] = {"old" + std::to_string(i), "o" + std::to_string(i), true};
    table.PageLinkCount = 8;
    return table;
}

} // namespace

TEST(PageLinks, ReadsArrowsAndNumberedLinksFromThePagingFile) {
    TempDir dir;
    const auto file = dir.path() / "GameAllPage.html";
    const std::string block =
        "<div class=\"pagination clearfix\">"
        "<a class=\"prev\" href=\"/appweb/c?cid=games&amp;page=1\">上一页</a>" +
        item("/appweb/c?cid=games&amp;page=1", "1") + item("/appweb/c?cid=games&amp;page=2", "2", true) +
        item("/appweb/c?cid=games&amp;page=3", "第3页") +
        "<a class=\"next\" href=\"/appweb/c?cid=games&amp;amp;page=3\">下一页</a></div>\r\n";
    ASSERT_TRUE(base::writeFileAtomic(file, block));
    PageLinkTable table = filledTable();
    const auto addresses = ReadPageLinks(file, table);
    EXPECT_EQ(addresses.previous, "/appweb/c?cid=games&page=1");
    EXPECT_EQ(addresses.next, "/appweb/c?cid=games&page=3"); // every "amp;" goes
    ASSERT_EQ(table.PageLinkCount, 3);
    EXPECT_EQ(table.PageLinks[0].Url, "/appweb/c?cid=games&page=1");
    EXPECT_EQ(table.PageLinks[0].Caption, "1");
    EXPECT_FALSE(table.PageLinks[0].IsCurrent);
    EXPECT_TRUE(table.PageLinks[1].IsCurrent);
    EXPECT_EQ(table.PageLinks[2].Caption, "第3页");
    EXPECT_FALSE(table.PageLinks[2].IsCurrent);
    for (int i = 3; i < 8; ++i)
        EXPECT_EQ(table.PageLinks[i].Url, "old" + std::to_string(i)); // older values stay

    const auto none = ReadPageLinks(dir.path() / "missing.html", table);
    EXPECT_EQ(none.next, "");
    EXPECT_EQ(table.PageLinkCount, 0);
}

TEST(PageLinks, FirstPageHasNoPreviousAndNoLinksGivesCountZero) {
    PageLinkTable table = filledTable();
    auto addresses =
        ParsePageLinks(item("/p1", "1", true) + "<a class=\"next\" href=\"/p2\">下一页</a>", table);
    EXPECT_EQ(addresses.previous, "");
    EXPECT_EQ(addresses.next, "/p2");
    EXPECT_EQ(table.PageLinkCount, 1);
    addresses = ParsePageLinks("<div class=\"pagination clearfix\"></div>", table);
    EXPECT_EQ(addresses.next, "");
    EXPECT_EQ(table.PageLinkCount, 0);
    EXPECT_EQ(table.PageLinks[0].Url, "/p1");
}

TEST(PageLinks, KeepsTheFirstEightOfManyLinks) {
    std::string block;
    for (int i = 1; i <= 12; ++i)
        block += item("/p" + std::to_string(i), std::to_string(i), i == 10);
    PageLinkTable table;
    ParsePageLinks(block, table);
    EXPECT_EQ(table.PageLinkCount, 8);
    EXPECT_EQ(table.PageLinks[7].Url, "/p8");
    for (const auto& link : table.PageLinks)
        EXPECT_FALSE(link.IsCurrent);
}

TEST(PageLinks, MalformedLinksDoNotCrashOrInventAddresses) {
    PageLinkTable table;
    // No href: the caption and current mark stay, the address is empty.
    ParsePageLinks("<a class=\"item current\">3</a>" + item("/p4", "4"), table);
    ASSERT_EQ(table.PageLinkCount, 2);
    EXPECT_EQ(table.PageLinks[0].Url, "");
    EXPECT_EQ(table.PageLinks[0].Caption, "3");
    EXPECT_TRUE(table.PageLinks[0].IsCurrent);
    EXPECT_EQ(table.PageLinks[1].Url, "/p4");

    // Unclosed quote: no address. Missing "</a>": reading ends there.
    ParsePageLinks(item("/p1", "1") + "<a class=\"item\" href=\"/p2>2</a><a class=\"item\" href=\"/p3\">3",
                   table);
    ASSERT_EQ(table.PageLinkCount, 2);
    EXPECT_EQ(table.PageLinks[1].Url, "");
    EXPECT_EQ(table.PageLinks[1].Caption, "2");

    // Arrow tags never closed with ">", markers cut off at the end of the text.
    const auto addresses = ParsePageLinks("<a class=\"prev\" href=\"/p1\"<a class=\"next\" href=", table);
    EXPECT_EQ(addresses.previous, "");
    EXPECT_EQ(addresses.next, "");
    ParsePageLinks("<a class=\"item", table);
    EXPECT_EQ(table.PageLinkCount, 0);
}

TEST(PageLinks, SkipsAndDropsWholeCharactersNotBytes) {
    PageLinkTable table;
    // The character after a marker and the one before an arrow's ">" are skipped whole, also when
    // they are not ASCII quotes: no address starts or ends inside a multi-byte character.
    const auto addresses = ParsePageLinks("<a class=\"prev\" href=“/p1?a=1&amp;b=2”>上一页</a>"
                                          "<a class=\"item\" href=「/p2\">2</a>"
                                          "<a class=\"next\" href='/p3'>下一页</a>",
                                          table);
    EXPECT_EQ(addresses.previous, "/p1?a=1&b=2");
    EXPECT_EQ(addresses.next, "/p3");
    ASSERT_EQ(table.PageLinkCount, 1);
    EXPECT_EQ(table.PageLinks[0].Url, "/p2");
    EXPECT_EQ(table.PageLinks[0].Caption, "2");
}
