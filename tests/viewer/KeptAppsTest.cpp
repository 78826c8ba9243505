#include "viewer/KeptApps.h"

#include "LoopbackServer.h"
#include "TempDir.h"
#include "base/AtomicFile.h"
#include "startup/FileBytes.h"
#include "viewer/MovieDownload.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <sys/stat.h>

using namespace viewer;
namespace fs = std::filesystem;

namespace {

OpenedApp movieApp(const std::string& site) {
    OpenedApp app;
    app.IsWidgetApp = true;
    app.CurrentApp.Name = "贪吃蛇 \"Snake\"";
    app.CurrentApp.ContentUrl = site + "/widget/swf/snake.swf";
    app.CurrentApp.MovieFile = "snake.swf";
    app.CurrentApp.Icon = "http://s.test/icon.png";
    app.CurrentApp.Description = "  第一行\r\n第二行 C:\\games\\ \\n     ";
    app.CurrentApp.Developer = "提供商：\r\n     某某\r\n";
    return app;
}

void expectSameDetails(const AppDetail& a, const AppDetail& b) {
    EXPECT_EQ(a.Name, b.Name);
    EXPECT_EQ(a.ContentUrl, b.ContentUrl);
    EXPECT_EQ(a.Icon, b.Icon);
    EXPECT_EQ(a.Logo, b.Logo);
    EXPECT_EQ(a.Description, b.Description);
    EXPECT_EQ(a.Developer, b.Developer);
    EXPECT_EQ(a.MovieFile, b.MovieFile);
}

ino_t inode(const fs::path& file) {
    struct stat info {};
    ::stat(file.c_str(), &info);
    return info.st_ino;
}

struct KeptAppsTest : ::testing::Test {
    TempDir folder;
    KeptApps kept{folder.path()};
    const std::string link = "http://127.0.0.1:8780/appweb/app?id=3";

    void putMovie(const std::string& name) {
        fs::create_directories(folder.path() / "Game");
        base::writeFileAtomic(folder.path() / "Game" / name, "FWS");
    }
};

} // namespace

TEST_F(KeptAppsTest, AMovieAppKeptComesBackWholeOnlyForItsLinkAndWhileItsMovieIsInGame) {
    const OpenedApp app = movieApp("http://127.0.0.1:8780");
    ASSERT_TRUE(kept.keep(link, app));
    EXPECT_EQ(kept.fileFor(link).parent_path(), folder.path() / "Apps");
    EXPECT_EQ(kept.find(link), std::nullopt) << "no movie in Game yet";

    putMovie("snake.swf");
    const auto found = kept.find(link);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->outcome, OpenedApp::Outcome::Kept);
    EXPECT_TRUE(found->IsWidgetApp);
    expectSameDetails(found->CurrentApp, app.CurrentApp);
    EXPECT_EQ(kept.find(link + "0"), std::nullopt);

    // Opened again with the same details: the file is left as it is; with others it is replaced.
    const ino_t before = inode(kept.fileFor(link));
    ASSERT_TRUE(kept.keep(link, app));
    EXPECT_EQ(inode(kept.fileFor(link)), before);
    OpenedApp renamed = app;
    renamed.CurrentApp.Name = "新名字";
    ASSERT_TRUE(kept.keep(link, renamed));
    EXPECT_EQ(kept.find(link)->CurrentApp.Name, "新名字");
}

TEST_F(KeptAppsTest, PageAppsUnusableMoviesAndForeignOrBrokenFilesAreNeverTaken) {
    OpenedApp page;
    page.CurrentApp.Name = "Page";
    page.CurrentApp.ContentUrl = "http://s.test/canvas";
    EXPECT_FALSE(kept.keep(link, page));
    EXPECT_FALSE(fs::exists(kept.fileFor(link)));

    // Details without a usable movie address (one that would leave Game, no web address, a name
    // that is not the address's) are not kept, and the good details kept before stay.
    putMovie("snake.swf");
    ASSERT_TRUE(kept.keep(link, movieApp("http://s.test")));
    const std::string keptBytes = readBytes(kept.fileFor(link));
    for (const auto& [url, movie] : std::vector<std::pair<std::string, std::string>>{
             {"http://s.test/widget/swf/snake.swf", "../Brindle.ini"},
             {"", "snake.swf"},
             {"file:///tmp/snake.swf", "snake.swf"},
             {"http://s.test/widget/swf/other.swf", "snake.swf"},
             {"http://s.test/widget/swf/", ""}}) {
        OpenedApp broken = movieApp("http://s.test");
        broken.CurrentApp.ContentUrl = url;
        broken.CurrentApp.MovieFile = movie;
        EXPECT_FALSE(kept.keep(link, broken)) << url << " " << movie;
        EXPECT_EQ(readBytes(kept.fileFor(link)), keptBytes) << url << " " << movie;
    }
    EXPECT_TRUE(kept.find(link));

    // A file under the link's name that holds another link, or no app at all.
    const std::string other = "http://127.0.0.1:8780/appweb/app?id=4";
    fs::copy_file(kept.fileFor(link), kept.fileFor(other));
    EXPECT_EQ(kept.find(other), std::nullopt);
    base::writeFileAtomic(kept.fileFor(link), "\x01garbage[[");
    EXPECT_EQ(kept.find(link), std::nullopt);
    // A folder where the Apps folder should be: nothing kept, nothing thrown.
    TempDir blocked;
    base::writeFileAtomic(blocked.path() / "Apps", "a file");
    EXPECT_FALSE(KeptApps(blocked.path()).keep(link, movieApp("http://s.test")));
}

TEST_F(KeptAppsTest, ReadingKeepsWhatTheStoreGaveAndFallsBackToItOnlyWhileTheStoreIsAway) {
    LoopbackServer store;
    store.routes().Get(R"(/link/(\d+))", [&](const httplib::Request& req, httplib::Response& res) {
        res.set_content("<script>top.location.href = \"" + store.url("/widget/" + req.matches[1].str()) +
                            "\";",
                        "text/html");
    });
    store.routes().Get(R"(/widget/(\d+))", [&](const httplib::Request& req, httplib::Response& res) {
        res.set_content("app_name:\"Movie " + req.matches[1].str() + "\", flash : \"" +
                            store.url("/widget/swf/m" + req.matches[1].str() + ".swf") + "\",",
                        "text/html");
    });
    store.routes().Get("/gone", [](const httplib::Request&, httplib::Response& res) {
        res.status = 404;
        res.set_content("<h1>没有这个应用</h1>", "text/html");
    });
    store.start();
    const std::string known = store.url("/link/1"), unknown = store.url("/link/2");

    const OpenedApp first = kept.read(known, store.site());
    ASSERT_EQ(first.outcome, OpenedApp::Outcome::Read);
    EXPECT_TRUE(fs::exists(kept.fileFor(known)));
    putMovie("m1.swf");

    // The store answers "no such app": that is what counts, whatever was kept for the link.
    putMovie("snake.swf");
    ASSERT_TRUE(kept.keep(store.url("/gone"), movieApp(store.site())));
    EXPECT_EQ(kept.read(store.url("/gone"), store.site()).outcome, OpenedApp::Outcome::NotAnApp);

    store.stop();
    std::vector<bool> kinds;
    const OpenedApp offline = kept.read(known, store.site(), [&](bool widget) { kinds.push_back(widget); });
    EXPECT_EQ(offline.outcome, OpenedApp::Outcome::Kept);
    EXPECT_EQ(kinds, std::vector<bool>{true});
    expectSameDetails(offline.CurrentApp, first.CurrentApp);
    EXPECT_EQ(kept.read(unknown, store.site()).outcome, OpenedApp::Outcome::Unreachable);
}

// An app opened again asks the store for its details together with its link, at the entry address
// the link led to before; what the link leads to now still decides.
TEST_F(KeptAppsTest, AnAppOpenedAgainAsksForItsDetailsAlongWithItsLink) {
    LoopbackServer store;
    std::atomic<int> target = 1;
    std::mutex mutex;
    std::condition_variable asked;
    bool gated = false, detailAsked = false;
    std::atomic<bool> askedBeforeLinkAnswered = false;
    store.routes().Get("/link", [&](const httplib::Request&, httplib::Response& res) {
        // Gated, the link is answered only once the details were asked for (or after 5 s).
        std::unique_lock lock(mutex);
        asked.wait_for(lock, std::chrono::seconds(5), [&] { return !gated || detailAsked; });
        askedBeforeLinkAnswered = detailAsked;
        res.set_content("<script>top.location.href = \"" + store.url("/widget/" + std::to_string(target)) +
                            "\";",
                        "text/html");
    });
    store.routes().Get(R"(/widget/(\d+))", [&](const httplib::Request& req, httplib::Response& res) {
        {
            const std::lock_guard lock(mutex);
            detailAsked = true;
        }
        asked.notify_all();
        res.set_content("app_name:\"Movie " + req.matches[1].str() + "\", flash : \"" +
                            store.url("/widget/swf/m" + req.matches[1].str() + ".swf") + "\",",
                        "text/html");
    });
    store.start();
    const std::string link = store.url("/link");

    ASSERT_EQ(kept.read(link, store.site()).outcome, OpenedApp::Outcome::Read);
    EXPECT_FALSE(askedBeforeLinkAnswered);

    {
        const std::lock_guard lock(mutex);
        gated = true;
        detailAsked = false;
    }
    const OpenedApp again = kept.read(link, store.site());
    EXPECT_EQ(again.CurrentApp.Name, "Movie 1");
    EXPECT_TRUE(askedBeforeLinkAnswered);

    {
        const std::lock_guard lock(mutex);
        gated = false;
    }
    target = 2;
    const OpenedApp moved = kept.read(link, store.site());
    EXPECT_EQ(moved.CurrentApp.Name, "Movie 2");
    EXPECT_EQ(moved.Entry, store.url("/widget/2"));
}

// An earlier version kept the saves of every app whose movie had one name in one folder: the
// folder goes to the app that opens when it is the only kept app of that name, otherwise it stays.
TEST_F(KeptAppsTest, AnEarlierSharedSavesFolderGoesOnlyToTheOneAppOfItsName) {
    const fs::path shared = folder.path() / "Saves" / "snake.swf";
    fs::create_directories(shared);
    base::writeFileAtomic(shared / "best.sol", "old save");
    const OpenedApp first = movieApp("http://a.test"), second = movieApp("http://b.test");
    ASSERT_TRUE(kept.keep(link, first));
    ASSERT_TRUE(kept.keep(link + "1", second));
    kept.adoptEarlierFiles(first.CurrentApp);
    EXPECT_TRUE(fs::is_regular_file(shared / "best.sol"));

    fs::remove(kept.fileFor(link + "1"));
    ASSERT_TRUE(kept.keep(link + "2", first)); // another link to the same movie
    kept.adoptEarlierFiles(first.CurrentApp);
    EXPECT_FALSE(fs::exists(shared));
    EXPECT_TRUE(fs::is_regular_file(folder.path() / "Saves" / moviePlaceOf(first.CurrentApp)->savesName() /
                                    "best.sol"));
}
