#include "pages/RedirectTarget.h"

#include "LoopbackServer.h"
#include "PageFiles.h"
#include "TempDir.h"

#include <gtest/gtest.h>

TEST(RedirectTarget, TakesTheFirstAssignmentWithoutQuotes) {
    EXPECT_EQ(ParseRedirectTarget("<script>top.location.href = \"http://s.test/widget/d?id=1\";\r\n"
                                  "top.location.href = \"http://s.test/other\";</script>"),
              "http://s.test/widget/d?id=1");
    // Exact spacing counts.
    EXPECT_EQ(
        ParseRedirectTarget("top.location.href=\"http://a.test/x\"; top.location.href = \"http://b.test/y\""),
        "http://b.test/y");
}

TEST(RedirectTarget, MissingOrUnclosedOrNonWebTargetsGiveNothing) {
    for (const char* page :
         {"", "top.location.href = ", "top.location.href = \"http://s.test/never-closed",
          "top.location.href = \"/etc/passwd\"", "top.location.href = \"file:///etc/passwd\"",
          "top.location.href = \"javascript:alert(1)\"", "top.location.href = \"\""})
        EXPECT_EQ(ParseRedirectTarget(page), "") << page;
}

TEST(RedirectTarget, ReadsTheEntryPageThroughFetch) {
    LoopbackServer server;
    server.routes().Get("/appweb/app", [&](const httplib::Request& req, httplib::Response& res) {
        res.set_content("<script>top.location.href = \"" +
                            server.url("/widget/d?id=" + req.get_param_value("id")) + "\";</script>",
                        "text/html");
    });
    server.start();
    EXPECT_EQ(ReadRedirectTarget(server.url("/appweb/app?id=12")), server.url("/widget/d?id=12"));

    TempDir dir;
    EXPECT_EQ(ReadRedirectTarget(storePage(dir.path(), "top.location.href = \"http://s.test/d\"")),
              "http://s.test/d");
    EXPECT_EQ(ReadRedirectTarget((dir.path() / "missing.html").string()), "");
}
