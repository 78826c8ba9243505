// The bundled store as the page builders and the update check see it.

#include "StoreProcess.h"
#include "SwfReader.h"
#include "pages/AppDetail.h"
#include "pages/Catalogue.h"
#include "pages/PageLinks.h"
#include "pages/RedirectTarget.h"
#include "startup/IniFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <httplib.h>
#include <map>
#include <regex>
#include <set>
#include <tuple>

namespace {

const std::string kListMarker = "<div class=\"category-all-app-list\">";
const std::string kPagingMarker = "<div class=\"pagination clearfix\">";
const std::string kEndMarker = "<!--HTML END-->";

std::string pathOf(const std::string& address, const std::string& site) {
    return address.substr(site.size());
}

std::set<std::string> appLinks(const std::string& text) {
    static const std::regex link("href=\"([^\"]*/appweb/app\\?id=[0-9]+)\" target=\"_blank\"");
    std::set<std::string> links;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), link); it != std::sregex_iterator(); ++it)
        links.insert((*it)[1]);
    return links;
}

// The built games (games/NAME into NAME.swf) by file name.
std::map<std::string, std::string> builtGames() {
    std::map<std::string, std::string> games;
    for (const auto& entry : std::filesystem::directory_iterator(GAMES_BUILD_DIR))
        if (entry.path().extension() == ".swf") {
            std::ifstream in(entry.path(), std::ios::binary);
            games[entry.path().filename()] = {std::istreambuf_iterator<char>(in),
                                              std::istreambuf_iterator<char>()};
        }
    return games;
}

} // namespace

TEST(AppstoreTest, EveryCatalogueQueryAnswersWithTheListMarkers) {
    StoreProcess store;
    httplib::Client client(store.site());
    for (const auto& entry : Catalogue::rebuildList()) {
        SCOPED_TRACE(std::string(entry.key));
        const auto response = client.Get(std::string(entry.query));
        ASSERT_TRUE(response);
        EXPECT_EQ(response->status, 200);
        const auto& page = response->body;
        const auto end = page.find(kEndMarker);
        ASSERT_NE(end, std::string::npos);
        if (entry.builder == PageBuilder::Home) {
            const auto start = page.find("<div class=\"container-coloum-1\">");
            EXPECT_LT(start, page.find("<div class=\"container-coloum-2 clearfix index-bottom\">"));
            continue;
        }
        const auto list = page.find(kListMarker);
        ASSERT_LT(list, end);
        // Every app link of the list is absolute and opens a new window.
        const auto links = appLinks(page.substr(list, end - list));
        EXPECT_FALSE(links.empty());
        for (const auto& address : links)
            EXPECT_TRUE(address.starts_with(store.site())) << address;
        const auto paging = page.find(kPagingMarker);
        if (paging != std::string::npos) {
            EXPECT_LT(list, paging);
            EXPECT_LT(paging, end);
        }
    }
}

TEST(AppstoreTest, PagingLinksWalkEveryAppOfACategoryOnce) {
    StoreProcess store;
    httplib::Client client(store.site());
    std::set<std::string> seen;
    std::string next = "/appweb/c?cid=games";
    int pages = 0;
    while (!next.empty() && pages < 10) {
        const auto response = client.Get(next);
        ASSERT_TRUE(response && response->status == 200) << next;
        const auto& page = response->body;
        const auto list = page.find(kListMarker);
        const auto paging = page.find(kPagingMarker);
        ASSERT_NE(paging, std::string::npos);
        for (const auto& link : appLinks(page.substr(list, paging - list)))
            EXPECT_TRUE(seen.insert(link).second) << link;

        // Read the block the way the catalogue window does.
        PageLinkTable table;
        const auto links = ParsePageLinks(page.substr(paging, page.find(kEndMarker) - paging), table);
        ++pages;
        EXPECT_EQ(table.PageLinkCount, 4);
        EXPECT_TRUE(table.PageLinks[pages - 1].IsCurrent);
        EXPECT_EQ(table.PageLinks[pages - 1].Caption, std::to_string(pages));
        EXPECT_EQ(links.previous.empty(), pages == 1);
        EXPECT_EQ(links.next.find("&amp;"), std::string::npos);
        next = links.next.empty() ? "" : pathOf(links.next, store.site());
    }
    EXPECT_EQ(pages, 4);
    EXPECT_EQ(seen.size(), 30u); // all games, 8 to a page
}

TEST(AppstoreTest, SearchFindsChineseWordsAndKeepsItsMarkers) {
    StoreProcess store;
    httplib::Client client(store.site());
    const auto found = client.Get("/appweb/search?w=%E8%B1%A1%E6%A3%8B"); // 象棋
    ASSERT_TRUE(found);
    const auto& page = found->body;
    const auto start = page.find("<div class=\"content clearfix\">");
    const auto end = page.find("<div id=\"PopularRecommend\"");
    ASSERT_NE(start, std::string::npos);
    ASSERT_LT(start, end);
    const auto results = page.substr(start, end - start);
    EXPECT_NE(results.find("中国象棋"), std::string::npos);
    EXPECT_NE(results.find("<li>返回<a href=\"/\">应用商店首页</a></li>"), std::string::npos);
    EXPECT_NE(results.find("<span class=\"developer_name\">"), std::string::npos);
    EXPECT_NE(results.find("</a></span>"), std::string::npos);
    EXPECT_NE(results.find("<a href=\"/appweb/app?id="), std::string::npos);

    const auto none = client.Get("/appweb/search?w=zzzz%20%E6%B2%A1%E6%9C%89");
    ASSERT_TRUE(none);
    EXPECT_NE(none->body.find("<div class=\"content clearfix\">"), std::string::npos);
    EXPECT_NE(none->body.find("<div id=\"PopularRecommend\""), std::string::npos);
    EXPECT_EQ(none->body.find("<li class=\"app-item\">"), std::string::npos);
}

TEST(AppstoreTest, UpdatePageAnnouncesTheReleaseAndItsSignatureInIniForm) {
    const auto versionOf = [](StoreProcess& store) {
        httplib::Client client(store.site());
        const auto response = client.Get("/box/update.html");
        TempDir dir;
        std::ofstream(dir.path() / "update.html") << (response ? response->body : "");
        IniFile ini;
        ini.SpecifyIni((dir.path() / "update.html").string());
        return std::tuple(ini.ReadString("Main", "Version", 100), ini.ReadString("Main", "ftp", 1000),
                          ini.ReadString("Main", "Signature", 100));
    };
    StoreProcess plain;
    EXPECT_EQ(versionOf(plain),
              std::tuple(std::string("1"), plain.site() + "/box/download/BrindleSetup.bin", ""));
    StoreProcess newer({"--update-version", "2", "--update-signature", "c2lnbmVk"});
    EXPECT_EQ(std::get<0>(versionOf(newer)), "2");
    EXPECT_EQ(std::get<2>(versionOf(newer)), "c2lnbmVk");
}

TEST(AppstoreTest, UnknownAddressesAnswerNotFound) {
    StoreProcess store;
    httplib::Client client(store.site());
    // Apps 1 and 15 are a movie app and a page app: each has only its own kind of pages.
    for (const char* path :
         {"/nothing", "/appweb/c?cid=99", "/appweb/c?cid=1&leaf_cid=21", "/appweb/c?cid=x",
          "/static/icons/app-999.svg", "/box/download/BrindleSetup.bin", "/appweb/app?id=999",
          "/appweb/app?id=1x", "/widget/detail?id=15", "/appweb/detail?id=1", "/appweb/frame?id=1",
          "/appweb/canvas?id=1", "/widget/swf/nothing.swf", "/widget/swf/../seed.sql"}) {
        const auto response = client.Get(path);
        ASSERT_TRUE(response) << path;
        EXPECT_EQ(response->status, 404) << path;
        EXPECT_NE(response->body.find("404"), std::string::npos) << path;
        EXPECT_FALSE(response->has_header("Cache-Control")) << path;
    }
    const auto icon = client.Get("/static/icons/app-1.svg");
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->get_header_value("Content-Type"), "image/svg+xml");
    // The catalogue's pages show their pictures and style sheet from the cache while fresh.
    EXPECT_EQ(icon->get_header_value("Cache-Control"), "max-age=86400");
    const auto css = client.Get("/static/07051645/appweb/styles/main.css");
    ASSERT_TRUE(css);
    EXPECT_NE(css->body.find(".app-item"), std::string::npos);
    EXPECT_EQ(css->get_header_value("Cache-Control"), "max-age=604800");
    // A page number out of range shows the last page.
    const auto last = client.Get("/appweb/c?cid=games&page=99");
    ASSERT_TRUE(last);
    EXPECT_NE(last->body.find("<a class=\"item current\" href=\"" + store.site() +
                              "/appweb/c?cid=games&amp;page=4\">"),
              std::string::npos);
}

TEST(AppstoreTest, EveryAppLinkOpensThroughItsEntryAndDetailPages) {
    StoreProcess store;
    httplib::Client client(store.site());
    // Every app of the catalogue, by id, until the first unknown one.
    std::vector<std::string> entries;
    for (int id = 1;; ++id) {
        const auto response = client.Get("/appweb/app?id=" + std::to_string(id));
        ASSERT_TRUE(response);
        if (response->status == 404) break;
        entries.push_back(store.site() + "/appweb/app?id=" + std::to_string(id));
    }
    EXPECT_GE(entries.size(), 90u);

    const auto games = builtGames();
    std::set<std::string> movies;
    int pageApps = 0;
    for (const auto& entry : entries) {
        SCOPED_TRACE(entry);
        const std::string id = entry.substr(entry.find("id=") + 3);
        const std::string target = ReadRedirectTarget(entry);
        const AppDetail app = ReadAppDetail(target);
        EXPECT_FALSE(app.Name.empty());
        EXPECT_TRUE(app.Description.ends_with("\",     ")) << app.Description;
        EXPECT_NE(app.Description.find("\r\n上架日期："), std::string::npos) << app.Description;
        EXPECT_EQ(app.Description.find("&"), std::string::npos) << app.Description;
        EXPECT_TRUE(app.Developer.starts_with("提供商：\r\n     ") && app.Developer.size() > 60)
            << app.Developer;
        EXPECT_EQ(app.Icon, store.site() + "/static/icons/app-" + id + ".svg");
        if (target == store.site() + "/widget/detail?id=" + id) {
            EXPECT_EQ(app.ContentUrl, store.site() + "/widget/swf/" + app.MovieFile);
            EXPECT_TRUE(movies.insert(app.MovieFile).second) << "one movie per app";
            const auto movie = client.Get(pathOf(app.ContentUrl, store.site()));
            ASSERT_TRUE(movie);
            EXPECT_EQ(movie->status, 200);
            EXPECT_EQ(movie->get_header_value("Content-Type"), "application/x-shockwave-flash");
            EXPECT_NO_THROW(swf::readMovie(movie->body));
            ASSERT_TRUE(games.contains(app.MovieFile)) << "a game of games/";
            EXPECT_TRUE(movie->body == games.at(app.MovieFile)) << "the built game";
        } else {
            ASSERT_EQ(target, store.site() + "/appweb/detail?id=" + id);
            ++pageApps;
            EXPECT_EQ(app.ContentUrl, store.site() + "/appweb/canvas?id=" + id);
            EXPECT_EQ(app.MovieFile, "");
            const auto canvas = client.Get(pathOf(app.ContentUrl, store.site()));
            ASSERT_TRUE(canvas);
            EXPECT_EQ(canvas->status, 200);
            EXPECT_NE(canvas->body.find("<h1>" + app.Name + "</h1>"), std::string::npos);
            EXPECT_NE(canvas->body.find("<script>"), std::string::npos);
        }
    }
    EXPECT_EQ(movies.size(), 20u);
    EXPECT_GE(pageApps, 50);
    for (const auto& [name, bytes] : games)
        EXPECT_TRUE(movies.contains(name)) << name << " is a game of no catalogue app";
}

TEST(AppstoreTest, MovieAndPageAppsReadAsTheViewerExpects) {
    StoreProcess store;
    const std::string site = store.site();
    const std::string movieDetail = ReadRedirectTarget(site + "/appweb/app?id=1");
    EXPECT_EQ(movieDetail, site + "/widget/detail?id=1");
    const AppDetail blocks = ReadAppDetail(movieDetail);
    EXPECT_EQ(blocks.Name, "俄罗斯方块");
    EXPECT_EQ(blocks.ContentUrl, site + "/widget/swf/blocks.swf");
    EXPECT_EQ(blocks.MovieFile, "blocks.swf");
    EXPECT_EQ(blocks.Logo, site + "/static/icons/app-1.svg");
    EXPECT_EQ(blocks.Description,
              "经典的方块消除游戏：旋转、移动下落的方块，排满一行即可消除，速度会越来越快。\r\n\r\n"
              "上架日期：2010-11-02\r\n使用人数：982340\r\n评分：4.6\",     ");
    EXPECT_EQ(blocks.Developer, "提供商：\r\n     方块猫游戏\r\nEmail：\r\n     fangkuaimao@example.com\r\n"
                                "提供商介绍：\r\n     益智游戏小团队，喜欢做让人动脑的小游戏。\r\n     ");

    const std::string pageDetail = ReadRedirectTarget(site + "/appweb/app?id=15");
    EXPECT_EQ(pageDetail, site + "/appweb/detail?id=15");
    const AppDetail game = ReadAppDetail(pageDetail);
    EXPECT_EQ(game.Name, "三国争霸");
    EXPECT_EQ(game.ContentUrl, site + "/appweb/canvas?id=15");
    EXPECT_EQ(game.MovieFile, "");

    // The page app's detail page holds its frame page, which holds the canvas frame.
    httplib::Client client(site);
    const auto detail = client.Get("/appweb/detail?id=15");
    ASSERT_TRUE(detail);
    EXPECT_NE(detail->body.find("<iframe id=\"app_frame\" src=\"" + site + "/appweb/frame?id=15\""),
              std::string::npos);
    EXPECT_EQ(detail->body.find(".swf"), std::string::npos);
    const auto frame = client.Get("/appweb/frame?id=15");
    ASSERT_TRUE(frame);
    EXPECT_NE(frame->body.find("<iframe name=\"iframe_canvas\" src=\"" + site + "/appweb/canvas?id=15\""),
              std::string::npos);
    const auto entry = client.Get("/appweb/app?id=15");
    ASSERT_TRUE(entry);
    EXPECT_NE(entry->body.find("top.location.href = \"" + pageDetail + "\";"), std::string::npos);
}
