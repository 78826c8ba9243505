#include "viewer/OpenedApp.h"

#include "LoopbackServer.h"

#include <gtest/gtest.h>

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
