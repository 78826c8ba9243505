// Sorrel run as a program in a fresh application folder against the built appstore.

#include "ChildProcess.h"
#include "LoopbackServer.h"
#include "SorrelFolder.h"
#include "StoreProcess.h"
#include "pages/Catalogue.h"

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <httplib.h>
#include <set>
#include <sstream>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace {

const std::string kDefaultSettings =
    "[Main]\r\nSkinName = Default \r\nLen = 7\r\n[Color]\r\nTabColor = 1381653\r\n"
    "TabBackColor = 16181985\r\nWebBackColor = #E1EAF6\r\n\r\n";
const std::string kListMarker = "<div class=\"category-all-app-list\">";
const std::string kPagingMarker = "<div class=\"pagination clearfix\">";
const std::string kFooter = "</body> </html> \r\n";
// Categories of the bundled store with more apps than one list page holds.
const std::set<std::string> kPagedKeys = {"GameAll", "MinGame",  "WebGame", "VideoAll",
                                          "LifeAll", "ToolsAll", "ReadAll"};

std::string headerEnd(const std::string& colour) {
    return "<body bgcolor=" + colour + ">";
}

bool isTemporary(const std::string& name) {
    return name.starts_with(".");
}

// Polls condition until it holds or timeout passes; whether it holds.
bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Whether process pid is blocked waiting for a file lock (a "->" line of /proc/locks).
bool waitsForALock(pid_t pid) {
    std::ifstream locks("/proc/locks");
    for (std::string line; std::getline(locks, line);) {
        std::istringstream fields(line);
        std::string number, arrow, kind, advisory, mode;
        pid_t owner = 0;
        if (fields >> number >> arrow >> kind >> advisory >> mode >> owner && arrow == "->" && owner == pid)
            return true;
    }
    return false;
}

// Whether a page of the page cache has the colour already (is new).
bool anyPageIn(const std::filesystem::path& html, const std::string& colour) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(html, ec)) {
        if (isTemporary(entry.path().filename().string())) continue;
        if (readFile(entry.path()).find(headerEnd(colour)) != std::string::npos) return true;
    }
    return false;
}

} // namespace

TEST(SorrelTest, FreshFolderGetsSettingsFoldersAndEveryPage) {
    StoreProcess store;
    SorrelFolder app(store.site());
    ASSERT_EQ(app.run(), 0);

    EXPECT_EQ(readFile(app.path() / "Brindle.ini"), kDefaultSettings);
    EXPECT_TRUE(std::filesystem::is_directory(app.path() / "Game"));
    EXPECT_TRUE(std::filesystem::is_directory(app.html()));

    const auto files = app.htmlFiles();
    for (const auto& entry : Catalogue::rebuildList()) {
        const std::string key(entry.key);
        SCOPED_TRACE(key);
        const auto page = files.find(key + ".html");
        ASSERT_NE(page, files.end());
        EXPECT_TRUE(page->second.starts_with("<!doctype html> <html><head><link rel=\"stylesheet\" href=\"" +
                                             store.site() + "/static/07051645/appweb/styles/main.css\""));
        EXPECT_NE(page->second.find(headerEnd("#E1EAF6")), std::string::npos);
        EXPECT_TRUE(page->second.ends_with(kFooter));
        if (entry.builder == PageBuilder::Home) {
            EXPECT_NE(page->second.find(headerEnd("#E1EAF6") + "<div class=\"container-coloum-1\">"),
                      std::string::npos);
            continue;
        }
        EXPECT_NE(page->second.find(headerEnd("#E1EAF6") + kListMarker), std::string::npos);
        EXPECT_NE(page->second.find("target=\"_blank\""), std::string::npos);
        EXPECT_EQ(page->second.find("<!--HTML END-->"), std::string::npos);
        const auto paging = files.find(key + "Page.html");
        EXPECT_EQ(paging != files.end(), kPagedKeys.contains(key));
        if (paging != files.end()) {
            EXPECT_TRUE(paging->second.starts_with(kPagingMarker));
            EXPECT_NE(paging->second.find("<a class=\"item current\" href=\""), std::string::npos);
            EXPECT_TRUE(paging->second.ends_with("\r\n"));
        }
    }
    // 32 page files and 7 paging files, nothing else: no temporaries, no search page.
    EXPECT_EQ(files.size(), 32u + kPagedKeys.size());
    EXPECT_FALSE(files.contains("SouSuo.html"));
}

TEST(SorrelTest, ExistingSettingsKeepTheirTextAndColourThePages) {
    StoreProcess store;
    SorrelFolder app(store.site());
    const std::string settings = "[Main]\nSkinName=Blue\n[Color]\nWebBackColor = \"#FFF0DD\"  \n";
    writeFile(app.path() / "Brindle.ini", settings);
    std::filesystem::create_directory(app.html());
    writeFile(app.html() / "SouSuo.html", "an earlier search");
    const auto searchTime = std::filesystem::last_write_time(app.html() / "SouSuo.html");

    ASSERT_EQ(app.run(), 0);

    EXPECT_EQ(readFile(app.path() / "Brindle.ini"), settings);
    const auto files = app.htmlFiles();
    for (const auto& entry : Catalogue::rebuildList()) {
        const auto page = files.find(std::string(entry.key) + ".html");
        ASSERT_NE(page, files.end()) << entry.key;
        // The colour goes in as the settings access class reads it (quotes removed).
        EXPECT_NE(page->second.find(headerEnd("#FFF0DD")), std::string::npos) << entry.key;
    }
    EXPECT_EQ(files.at("SouSuo.html"), "an earlier search");
    EXPECT_EQ(std::filesystem::last_write_time(app.html() / "SouSuo.html"), searchTime);
}

TEST(SorrelTest, ASecondRunWaitsForTheFirstAndBuildsWithTheSettingsOfItsOwnStart) {
    StoreProcess store;
    SorrelFolder app(store.site());
    // An earlier Sorrel still runs: it holds the lock of the application folder.
    const int earlier = ::open((app.path() / "Sorrel.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(earlier, 0);
    ASSERT_EQ(::flock(earlier, LOCK_EX), 0);
    ChildProcess later = app.start();
    ASSERT_TRUE(eventually([&] { return waitsForALock(later.pid()); }, std::chrono::seconds(30)));
    EXPECT_FALSE(later.wait(std::chrono::milliseconds(0)).has_value());
    EXPECT_FALSE(std::filesystem::exists(app.html() / "HomeAll.html"));

    // A skin change rewrote the colour while the earlier run went on; then the earlier run ends.
    writeFile(app.path() / "Brindle.ini", "[Color]\r\nWebBackColor = #102030\r\n");
    ::close(earlier);
    ASSERT_EQ(later.wait(std::chrono::seconds(60)), 0);
    EXPECT_NE(readFile(app.html() / "HomeAll.html").find(headerEnd("#102030")), std::string::npos);
}

TEST(SorrelTest, UnreachableStoreKeepsTheCacheAndEndsSoon) {
    SorrelFolder app("http://127.0.0.1:" + std::to_string(closedPort()));
    std::filesystem::create_directory(app.html());
    writeFile(app.html() / "GameAll.html", "old page");
    writeFile(app.html() / "GameAllPage.html", "old paging");

    // The bound is a guard against a hang, not a speed requirement.
    ASSERT_EQ(app.run(std::chrono::seconds(30)), 0);

    EXPECT_EQ(readFile(app.path() / "Brindle.ini"), kDefaultSettings);
    EXPECT_TRUE(std::filesystem::is_directory(app.path() / "Game"));
    const auto files = app.htmlFiles();
    EXPECT_EQ(files.size(), 2u);
    EXPECT_EQ(files.at("GameAll.html"), "old page");
    EXPECT_EQ(files.at("GameAllPage.html"), "old paging");
}

TEST(SorrelTest, StoreAnsweringNotFoundEverywhereWritesNothing) {
    StoreProcess store;
    // Every address under this prefix is unknown to the store and answers 404 with a small page.
    SorrelFolder app(store.site() + "/gone");
    std::filesystem::create_directory(app.html());
    writeFile(app.html() / "HomeAll.html", "old home");

    ASSERT_EQ(app.run(), 0);

    const auto files = app.htmlFiles();
    EXPECT_EQ(files.size(), 1u);
    EXPECT_EQ(files.at("HomeAll.html"), "old home");
    EXPECT_NE(store.log().find("GET /gone/appweb/c?cid=games 404"), std::string::npos);
}

TEST(SorrelTest, KilledRunLeavesEveryPageWholeAndTheNextRunCleansUp) {
    StoreProcess store({"--delay-ms", "150"});
    SorrelFolder app(store.site());
    writeFile(app.path() / "Brindle.ini", "[Color]\r\nWebBackColor = #010101\r\n");
    ASSERT_EQ(app.run(), 0);
    const auto before = app.htmlFiles();

    // Another colour makes every new page differ from the old one.
    writeFile(app.path() / "Brindle.ini", "[Color]\r\nWebBackColor = #020202\r\n");
    {
        ChildProcess sorrel = app.start();
        // Killed as soon as the first page is new: in the middle of the rebuild.
        ASSERT_TRUE(eventually([&] { return anyPageIn(app.html(), "#020202"); }, std::chrono::seconds(30)));
        sorrel.kill(SIGKILL);
        ASSERT_EQ(sorrel.wait(std::chrono::seconds(10)), 128 + SIGKILL);
    }
    const auto killed = app.htmlFiles();

    ASSERT_EQ(app.run(), 0);
    const auto after = app.htmlFiles();
    ASSERT_EQ(after.size(), before.size());

    int rebuilt = 0;
    for (const auto& [name, bytes] : killed) {
        if (isTemporary(name)) continue;
        SCOPED_TRACE(name);
        ASSERT_TRUE(before.contains(name));
        EXPECT_TRUE(bytes == before.at(name) || bytes == after.at(name));
        if (bytes != before.at(name)) ++rebuilt;
    }
    for (const auto& [name, bytes] : before)
        EXPECT_TRUE(killed.contains(name)) << name;
    // The kill came in the middle: some pages were new already, not all of them.
    EXPECT_GT(rebuilt, 0);
    EXPECT_LT(rebuilt, static_cast<int>(before.size()));
    for (const auto& [name, bytes] : after)
        EXPECT_FALSE(isTemporary(name)) << name;
}

TEST(SorrelTest, GarbageStoreEndsCleanly) {
    // A server that answers every page with invalid UTF-8 and broken markers.
    LoopbackServer garbage;
    garbage.routes().Get(".*", [](const httplib::Request& request, httplib::Response& response) {
        std::string body(3000, '\xff');
        if (request.target.find("leaf_cid=7") != std::string::npos)
            body += kListMarker + "\xc3 half <!--HTML END-->";
        else if (request.target.find("cid=games") != std::string::npos)
            body += kPagingMarker + " without end";
        response.set_content(body, "text/html");
    });
    garbage.start();

    SorrelFolder app(garbage.site());
    const auto status = app.run();
    garbage.stop();
    ASSERT_EQ(status, 0);

    for (const auto& [name, bytes] : app.htmlFiles()) {
        EXPECT_FALSE(isTemporary(name)) << name;
        EXPECT_TRUE(bytes.starts_with("<!doctype html>")) << name;
        EXPECT_TRUE(bytes.ends_with(kFooter)) << name;
    }
    // The one page with both its markers is written, invalid bytes replaced.
    const auto minGame = readFile(app.html() / "MinGame.html");
    EXPECT_NE(minGame.find(kListMarker + "\xef\xbf\xbd half "), std::string::npos);
}

TEST(SorrelTest, TemporariesOfDeadWritersAreRemovedOthersStay) {
    pid_t deadWriter = 0;
    {
        ChildProcess finished("/bin/true", {}, false);
        ASSERT_EQ(finished.wait(std::chrono::seconds(10)), 0);
        deadWriter = finished.pid();
    }
    SorrelFolder app("http://127.0.0.1:" + std::to_string(closedPort()));
    std::filesystem::create_directory(app.html());
    const std::string dead = ".GameAll.html." + std::to_string(deadWriter) + ".0.tmp";
    const std::string live = ".Misc.html." + std::to_string(::getpid()) + ".3.tmp";
    writeFile(app.html() / dead, "half a page");
    writeFile(app.html() / live, "being written");
    writeFile(app.html() / ".hidden.tmp", "not a temporary of ours");

    ASSERT_EQ(app.run(), 0);

    const auto files = app.htmlFiles();
    EXPECT_FALSE(files.contains(dead));
    EXPECT_TRUE(files.contains(live));
    EXPECT_TRUE(files.contains(".hidden.tmp"));
}
