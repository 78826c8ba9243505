#include "pages/AppDetail.h"

#include "LoopbackServer.h"
#include "PageFiles.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <map>

namespace {

const std::string kBlankDeveloper = "提供商：\r\n     \r\nEmail：\r\n     \r\n提供商介绍：\r\n     \r\n     ";

std::string script(const std::string& flash) {
    return "<script type=\"text/javascript\">var app = {\r\n"
           "  app_name:\"贪吃蛇\",\r\n"
           "  flash : \"" +
           flash +
           "\",\r\n"
           "  description : \"控制小蛇&lt;br&gt;吃掉食物\\r\\n别撞墙\",\r\n"
           "  app_logo : \"http://s.test/logo/7.png\",\r\n"
           "  app_icon : \"http://s.test/icon/7.png\",\r\n"
           "  developer_name : \"方块猫\",\r\n"
           "  developer_email : \"cat@example.com\",\r\n"
           "  developer_introduction : \"益智&nbsp;小游戏\",\r\n"
           "};</script>\r\n";
}

// A fake fetch serving fixed pages and recording what was asked.
struct FakeStore {
    std::map<std::string, std::string, std::less<>> pages;
    std::vector<std::string> asked;
    std::function<std::string(std::string_view)> fetch() {
        return [this](std::string_view address) {
            asked.emplace_back(address);
            const auto page = pages.find(address);
            return page == pages.end() ? std::string() : page->second;
        };
    }
};

} // namespace

TEST(AppDetail, MovieAppGivesEveryFieldWithoutQuotes) {
    FakeStore store;
    const auto detail = ParseAppDetail(script("http://s.test/widget/swf/snake.swf") +
                                           "<iframe src=\"http://s.test/never\"></iframe>",
                                       store.fetch());
    EXPECT_EQ(detail.Name, "贪吃蛇");
    EXPECT_EQ(detail.ContentUrl, "http://s.test/widget/swf/snake.swf");
    EXPECT_EQ(detail.MovieFile, "snake.swf");
    EXPECT_EQ(detail.Logo, "http://s.test/logo/7.png");
    EXPECT_EQ(detail.Icon, "http://s.test/icon/7.png");
    // The description keeps its closing quote and comma; the markup becomes line breaks.
    EXPECT_EQ(detail.Description, "控制小蛇\r\n吃掉食物\r\n别撞墙\",     ");
    EXPECT_EQ(detail.Developer, "提供商：\r\n     方块猫\r\nEmail：\r\n     "
                                "cat@example.com\r\n提供商介绍：\r\n     益智 小游戏\r\n     ");
    EXPECT_TRUE(store.asked.empty()); // a movie app needs no frame page
}

TEST(AppDetail, MovieAddressEndsAtTheFirstSwfAndNeedsTenCharacters) {
    FakeStore store;
    EXPECT_EQ(ParseAppDetail(script("http://s.test/a.swf?b.swf"), store.fetch()).ContentUrl,
              "http://s.test/a.swf");
    const auto bare = ParseAppDetail(script("mygames.swf1"), store.fetch()); // no "/": the whole name
    EXPECT_EQ(bare.ContentUrl, "mygames.swf");
    EXPECT_EQ(bare.MovieFile, "mygames.swf");
    // Nine characters are too short for a movie: the frame case, and this page has no frame.
    const auto shortName = ParseAppDetail(script("abcde.swf"), store.fetch());
    EXPECT_EQ(shortName.ContentUrl, "");
    EXPECT_EQ(shortName.MovieFile, "");
    EXPECT_EQ(shortName.Name, "贪吃蛇");
    // Characters, not bytes: nine Chinese characters are still too short.
    EXPECT_EQ(ParseAppDetail(script("游戏游戏游.swf"), store.fetch()).MovieFile, "");
}

TEST(AppDetail, PageAppFollowsTheFrameToTheCanvas) {
    FakeStore store;
    const std::string frame = "http://s.test/appweb/frame?id=3";
    const std::string page =
        script("") + "<div><iframe id=\"f\" src=\"" + frame + "\" width=\"760\"></iframe>";
    store.pages[frame] =
        "<iframe name=\"top\" src=\"http://s.test/no\"></iframe>"
        "<iframe name=\"iframe_canvas\" src=\"http://s.test/canvas/3.html\" scrolling=\"no\">";
    auto detail = ParseAppDetail(page, store.fetch());
    EXPECT_EQ(detail.ContentUrl, "http://s.test/canvas/3.html");
    EXPECT_EQ(detail.MovieFile, "");
    EXPECT_EQ(store.asked, std::vector<std::string>{frame});

    // Without the canvas frame (or with a broken one) the frame page itself is the content.
    store.pages[frame] = "<iframe name=\"other\" src=\"http://s.test/canvas/3.html\">";
    EXPECT_EQ(ParseAppDetail(page, store.fetch()).ContentUrl, frame);
    store.pages[frame] = "<iframe name=\"iframe_canvas\" src=\"http://s.test/never-closed";
    EXPECT_EQ(ParseAppDetail(page, store.fetch()).ContentUrl, frame);
    store.pages.erase(frame); // an unreachable frame page
    EXPECT_EQ(ParseAppDetail(page, store.fetch()).ContentUrl, frame);
}

TEST(AppDetail, FrameCutSkipsOneCharacterAfterTheTagName) {
    FakeStore store;
    // The character after "<iframe " is skipped, so the src of a tag that starts with it is missed
    // and the next "src=" counts.
    const auto detail = ParseAppDetail(
        script("") + "<iframe src=\"http://s.test/first\"></iframe><img src=\"http://s.test/second\">",
        store.fetch());
    EXPECT_EQ(detail.ContentUrl, "http://s.test/second");
}

TEST(AppDetail, AddressesFromPagesAreFollowedOnlyOnTheWeb) {
    FakeStore store;
    store.pages["/etc/frame.html"] = "<iframe name=\"iframe_canvas\" src=\"http://s.test/c\">";
    EXPECT_EQ(
        ParseAppDetail(script("") + "<iframe id=\"f\" src=\"/etc/frame.html\">", store.fetch()).ContentUrl,
        "");
    EXPECT_EQ(ParseAppDetail(script("") + "<iframe id=\"f\" src=\"file:///etc/frame.html\">", store.fetch())
                  .ContentUrl,
              "");
    EXPECT_TRUE(store.asked.empty());
    store.pages["http://s.test/f"] = "<iframe name=\"iframe_canvas\" src=\"javascript:alert(1)\">";
    EXPECT_EQ(
        ParseAppDetail(script("") + "<iframe id=\"f\" src=\"http://s.test/f\">", store.fetch()).ContentUrl,
        "http://s.test/f");
}

TEST(AppDetail, MissingMarkersAndCommasLeaveFieldsEmpty) {
    FakeStore store;
    const auto none = ParseAppDetail("", store.fetch());
    EXPECT_EQ(none.Name + none.ContentUrl + none.Icon + none.Logo + none.MovieFile, "");
    EXPECT_EQ(none.Description, "     ");
    EXPECT_EQ(none.Developer, kBlankDeveloper);

    // A comma right after the opening quote would give a cut shorter than nothing.
    EXPECT_EQ(ParseAppDetail("app_name:\",x\",", store.fetch()).Name, "");
    // No comma after the marker, or the marker at the very end.
    EXPECT_EQ(ParseAppDetail("app_name:\"名字\"", store.fetch()).Name, "");
    EXPECT_EQ(ParseAppDetail("app_name:", store.fetch()).Name, "");
    EXPECT_EQ(ParseAppDetail("description : \"没有逗号\"", store.fetch()).Description, "     ");
    // A multi-byte character in the quote's place is skipped whole; the last one before the comma too.
    EXPECT_EQ(ParseAppDetail("app_name:“名字”,", store.fetch()).Name, "名字");
    // Case matters and each marker is searched in the whole page.
    EXPECT_EQ(ParseAppDetail("APP_NAME:\"x\", app_icon : \"i\", app_name:\"y\",", store.fetch()).Name, "y");
    // No frame: nothing to fetch.
    EXPECT_EQ(ParseAppDetail("<iframe ", store.fetch()).ContentUrl, "");
    EXPECT_EQ(ParseAppDetail("<iframe id=\"x\" src=\"http://s.test/unclosed", store.fetch()).ContentUrl, "");
    EXPECT_TRUE(store.asked.empty());
}

TEST(AppDetail, ReadsThroughFetchFromTheStoreAndFromDisk) {
    LoopbackServer server;
    server.routes().Get("/detail", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content(script("") + "<iframe name=\"f\" src=\"" + server.url("/frame") + "\">", "text/html");
    });
    server.routes().Get("/frame", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content("<iframe name=\"iframe_canvas\" src=\"" + server.url("/canvas") + "\">", "text/html");
    });
    server.start();
    const auto detail = ReadAppDetail(server.url("/detail"));
    EXPECT_EQ(detail.Name, "贪吃蛇");
    EXPECT_EQ(detail.ContentUrl, server.url("/canvas"));

    TempDir dir;
    EXPECT_EQ(ReadAppDetail(storePage(dir.path(), script("http://s.test/widget/swf/x1.swf"))).MovieFile,
              "x1.swf");

    const auto missing = ReadAppDetail((dir.path() / "missing.html").string());
    EXPECT_EQ(missing.Name, "");
    EXPECT_EQ(missing.Description, "     ");
    EXPECT_EQ(missing.Developer, kBlankDeveloper);
}

TEST(CleanText, ReplacesStoreMarkupInOrder) {
    // "&lt;br" then "&gt;" makes "&lt;br&gt;" one line break; "&amp;nbsp;" goes before "&nbsp;" turns a
    // space.
    EXPECT_EQ(CleanText("a&lt;br&gt;b&lt;br /&gt;c"), "a\r\nb\r\n /c     ");
    EXPECT_EQ(CleanText("x&amp;nbsp;y&nbsp;z"), "xy z     ");
    EXPECT_EQ(CleanText("&#91;tag&#93;"), "tag     ");
    EXPECT_EQ(CleanText("one\\r\\ntwo"), "one\r\ntwo     "); // backslash r backslash n as written in a script
    EXPECT_EQ(CleanText("a\r\nb"), "a\r\nb     ");           // real line breaks stay as they are
    EXPECT_EQ(CleanText("<h2>标题</h2>正文"), "<h2>标题\r\n正文     ");
    EXPECT_EQ(CleanText("1<br />2<br/>3<BR>4<br>5<Br>"), "1\r\n2\r\n3\r\n4\r\n5<Br>     ");
    EXPECT_EQ(CleanText(""), "     "); // the five spaces come with or without "</h2>"
    // Each step works on the text the earlier ones left.
    EXPECT_EQ(CleanText("&amp;&#93;nbsp;&l&#91;t;br"), "\r\n     ");
}
