#include "catalogue/qt/PageBuildQueue.h"

#include "LoopbackServer.h"
#include "TempDir.h"
#include "WaitUntil.h"

#include <QTest>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string storeList(const std::string& text) {
    return "<div class=\"category-all-app-list\"><ul><li>" + text + "</li></ul></div><!--HTML END-->";
}

std::string readAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A store whose /slow page answers after a second, /fast at once and /hang only when released.
class PageBuildQueueTest : public ::testing::Test {
  protected:
    PageBuildQueueTest() {
        store.routes().Get("/slow", [](const httplib::Request&, httplib::Response& res) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            res.set_content(storeList("slow"), "text/html");
        });
        store.routes().Get("/fast", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(storeList("fast"), "text/html");
        });
        store.routes().Get("/hang", [this](const httplib::Request&, httplib::Response& res) {
            hangAsked = true;
            for (int i = 0; i < 2000 && !released; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            hangAnswered = true;
            res.set_content(storeList("hang"), "text/html");
        });
        store.start();
        fs::create_directory(html());
    }
    ~PageBuildQueueTest() override { released = true; }

    fs::path html() const { return dir.path() / "Html"; }
    std::string nextPage() const { return readAll(html() / "NextPage.html"); }
    bool noStagingLeft() const {
        for (const auto& entry : fs::directory_iterator(html()))
            if (entry.path().filename().string().starts_with(".")) return false;
        return true;
    }
    // Builds NextPage from first, then from second, and waits for both.
    std::pair<bool, bool> buildTwice(const std::string& first, const std::string& second) {
        PageBuildQueue queue({html(), store.site(), store.site()}, "#E1EAF6");
        std::optional<bool> a, b;
        queue.build(PageBuilder::Category, "NextPage", store.url(first), [&](bool shown) { a = shown; });
        queue.build(PageBuilder::Category, "NextPage", store.url(second), [&](bool shown) { b = shown; });
        EXPECT_TRUE(waitUntil([&] { return a && b; }, 20000));
        EXPECT_EQ(queue.running(), 0);
        return {a.value_or(false), b.value_or(false)};
    }

    TempDir dir;
    LoopbackServer store;
    std::atomic<bool> released{false};
    std::atomic<bool> hangAsked{false};
    std::atomic<bool> hangAnswered{false};
};

} // namespace

TEST_F(PageBuildQueueTest, OfTwoBuildsOfOneKeyTheLaterStartedOneWinsWhicheverEndsFirst) {
    // The older build ends last but must not overwrite the newer page.
    EXPECT_EQ(buildTwice("/slow", "/fast"), std::make_pair(false, true));
    EXPECT_NE(nextPage().find("fast"), std::string::npos);
    EXPECT_EQ(nextPage().find("slow"), std::string::npos);

    EXPECT_EQ(buildTwice("/fast", "/slow"), std::make_pair(true, true));
    EXPECT_NE(nextPage().find("slow"), std::string::npos);
    EXPECT_TRUE(noStagingLeft());
}

TEST_F(PageBuildQueueTest, AFailedCutKeepsTheCachedPage) {
    std::ofstream(html() / "GameAll.html") << "cached";
    PageBuildQueue queue({html(), store.site(), store.site()}, "#E1EAF6");
    std::optional<bool> shown;
    queue.build(PageBuilder::Category, "GameAll", store.url("/missing"), [&](bool s) { shown = s; });
    ASSERT_TRUE(waitUntil([&] { return shown.has_value(); }, 20000));
    EXPECT_FALSE(*shown);
    EXPECT_EQ(readAll(html() / "GameAll.html"), "cached");
    EXPECT_TRUE(noStagingLeft());
}

TEST_F(PageBuildQueueTest, StagingFoldersOfEndedProgramsAreRemovedThoseOfRunningOnesStay) {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0); // a process id that no longer runs
    const fs::path dead = html() / (".building-" + std::to_string(child) + "-abc123");
    const fs::path alive = html() / (".building-" + std::to_string(getpid()) + "-def456");
    for (const fs::path& folder : {dead, alive}) {
        fs::create_directory(folder);
        std::ofstream(folder / "GameAll.html") << "half";
    }
    PageBuildQueue queue({html(), store.site(), store.site()}, "#E1EAF6");
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_TRUE(fs::exists(alive / "GameAll.html"));
}

TEST_F(PageBuildQueueTest, GoingAwayEndsAWaitingBuildWithoutWaitingForTheStore) {
    bool called = false;
    {
        PageBuildQueue queue({html(), store.site(), store.site()}, "#E1EAF6");
        queue.build(PageBuilder::Category, "GameAll", store.url("/hang"), [&](bool) { called = true; });
        ASSERT_TRUE(waitUntil([&] { return hangAsked.load(); }, 10000)); // the request is on its way
    }
    EXPECT_FALSE(hangAnswered); // the store has not answered, yet the queue is gone
    // Whatever the ended build posted to this thread (its threads are gone) is delivered now.
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(called);
    EXPECT_FALSE(fs::exists(html() / "GameAll.html"));
    EXPECT_TRUE(noStagingLeft());
}
