#include "viewer/OpenedApp.h"

#include "LoopbackServer.h"
#include "pages/FetchText.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <utility>
#include <vector>

using namespace viewer;

TEST(OpenedApp, WidgetAddressesAreTheStoreSitesWidgetPages) {
    EXPECT_TRUE(isWidgetAddress("http://127.0.0.1:8780/widget/app/17", "http://127.0.0.1:8780"));
    EXPECT_FALSE(isWidgetAddress("http://127.0.0.1:8780/app/17", "http://127.0.0.1:8780"));
    EXPECT_FALSE(isWidgetAddress("http://other/widget/app/17", "http://127.0.0.1:8780"));
    EXPECT_FALSE(isWidgetAddress("", "http://127.0.0.1:8780"));
}

TEST(OpenedApp, FollowsTheLinkToTheEntryAndReadsTheDetails) {
    LoopbackServer store;
    store.routes().Get("/link/1", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content("<script>top.location.href = \"" + store.url("/widget/app/1") + "\";</script>",
                        "text/html");
    });
    store.routes().Get("/widget/app/1", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content("app_name:\"Snake\", flash : \"" + store.url("/swf/snake.swf") + "\",", "text/html");
    });
    store.start();

    OpenedApp app = OpenedApp::read(store.url("/link/1"), store.site());
    EXPECT_TRUE(app.IsWidgetApp);
    EXPECT_EQ(app.CurrentApp.Name, "Snake");
    EXPECT_EQ(app.CurrentApp.MovieFile, "snake.swf");

    EXPECT_EQ(app.outcome, OpenedApp::Outcome::Read);
    EXPECT_TRUE(app.opens());
}

TEST(OpenedApp, AStoreThatCannotBeReachedOrAnswersWithoutAnAppOpensNothing) {
    LoopbackServer store;
    std::atomic<bool> released{false};
    store.routes().Get("/link/plain", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("<p>维护中</p>", "text/html");
    });
    store.routes().Get("/link/error", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content("<script>top.location.href = \"" + store.url("/error") + "\";</script>", "text/html");
    });
    store.routes().Get("/error", [](const httplib::Request&, httplib::Response& res) {
        res.status = 500;
        res.set_content("<h1>500</h1>", "text/html");
    });
    // Accepts and answers only when the test is over (at most 20 seconds).
    store.routes().Get("/link/silent", [&](const httplib::Request&, httplib::Response& res) {
        for (int i = 0; i < 2000 && !released; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        res.set_content("late", "text/html");
    });
    store.start();

    EXPECT_EQ(OpenedApp::read(store.url("/link/plain"), store.site()).outcome, OpenedApp::Outcome::NotAnApp);
    EXPECT_EQ(OpenedApp::read(store.url("/link/error"), store.site()).outcome, OpenedApp::Outcome::NotAnApp);
    const OpenedApp refused = OpenedApp::read("http://127.0.0.1:1/link/1", store.site());
    EXPECT_EQ(refused.outcome, OpenedApp::Outcome::Unreachable);
    EXPECT_FALSE(refused.opens());

    // A store that never answers is given up at the caller's deadline, long before its answer.
    std::thread reader([&] {
        setFetchDeadline(std::chrono::steady_clock::now() + std::chrono::milliseconds(300));
        EXPECT_EQ(OpenedApp::read(store.url("/link/silent"), store.site()).outcome,
                  OpenedApp::Outcome::Unreachable);
    });
    reader.join();
    released = true;
}

TEST(OpenedApp, TellsTheKindOfAppBeforeReadingTheDetails) {
    LoopbackServer store;
    std::atomic<int> detailRequests = 0;
    store.routes().Get("/link/1", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content("<script>top.location.href = \"" + store.url("/widget/app/1") + "\";</script>",
                        "text/html");
    });
    store.routes().Get("/widget/app/1", [&](const httplib::Request&, httplib::Response& res) {
        ++detailRequests;
        res.set_content("app_name:\"Snake\", flash : \"" + store.url("/swf/snake.swf") + "\",", "text/html");
    });
    store.start();

    std::vector<std::pair<bool, int>> calls; // the kind told, and the detail requests made by then
    OpenedApp::read(store.url("/link/1"), store.site(),
                    [&](bool isWidgetApp) { calls.emplace_back(isWidgetApp, detailRequests.load()); });
    EXPECT_EQ(calls, (std::vector<std::pair<bool, int>>{{true, 0}}));

    // A link that leads to no app tells no kind.
    calls.clear();
    OpenedApp::read(store.url("/link/2"), store.site(),
                    [&](bool isWidgetApp) { calls.emplace_back(isWidgetApp, detailRequests.load()); });
    EXPECT_TRUE(calls.empty());
}
