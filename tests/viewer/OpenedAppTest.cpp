#include "viewer/OpenedApp.h"

#include "LoopbackServer.h"

#include <atomic>
#include <gtest/gtest.h>
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

    OpenedApp missing = OpenedApp::read(store.url("/link/2"), store.site());
    EXPECT_FALSE(missing.IsWidgetApp);
    EXPECT_TRUE(missing.CurrentApp.Name.empty());
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

    calls.clear();
    OpenedApp::read(store.url("/link/2"), store.site(),
                    [&](bool isWidgetApp) { calls.emplace_back(isWidgetApp, detailRequests.load()); });
    EXPECT_EQ(calls, (std::vector<std::pair<bool, int>>{{false, 1}}));
}
