#include "pages/FetchText.h"

#include "LoopbackServer.h"
#include "TempDir.h"
#include "base/AtomicFile.h"

#include <arpa/inet.h>
#include <atomic>
#include <gtest/gtest.h>
#include <mutex>
#include <netinet/in.h>
#include <optional>
#include <set>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// A loopback port that nothing listens on: bound once to get a free number, then closed.
int closedLoopbackPort() {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

// Restores the default stall time-out after a test that shortened it.
struct ShortStallTimeout {
    ShortStallTimeout() { setFetchStallTimeout(std::chrono::seconds(1)); }
    ~ShortStallTimeout() { setFetchStallTimeout(std::chrono::seconds(30)); }
};

// A server whose /slow answers only when the test is over (at most 20 seconds), and whose /page
// answers at once.
struct LateServer {
    LateServer() {
        server.routes().Get("/slow", [this](const httplib::Request&, httplib::Response& res) {
            slowAsked = true;
            for (int i = 0; i < 2000 && !released; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            res.set_content("<p>late</p>", "text/html");
        });
        server.routes().Get("/page", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("<p>page</p>", "text/html");
        });
        server.start();
    }
    ~LateServer() {
        released = true;
        server.stop();
    }

    // Waits (at most 20 seconds) until /slow has been asked for; whether it has.
    bool slowRequested() const {
        for (int i = 0; i < 2000 && !slowAsked; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return slowAsked;
    }

    std::atomic<bool> released{false};
    std::atomic<bool> slowAsked{false};
    LoopbackServer server;
};

} // namespace

TEST(FetchText, ReadsLocalPathsAndFileAddresses) {
    TempDir dir;
    const auto file = dir.path() / "Game AllPage.html";
    ASSERT_TRUE(base::writeFileAtomic(file, "\xEF\xBB\xBF<a>第2页</a>\r\n"));
    EXPECT_EQ(FetchText(file.string(), "utf-8"), "<a>第2页</a>\r\n"); // byte-order mark removed
    EXPECT_EQ(FetchText("file://" + dir.path().string() + "/Game%20AllPage.html", "utf-8"),
              "<a>第2页</a>\r\n");
    EXPECT_EQ(FetchText((dir.path() / "missing.html").string(), "utf-8"), "");
    EXPECT_EQ(FetchText(dir.path().string(), "utf-8"), ""); // a folder is no page
    EXPECT_EQ(FetchText("ftp://127.0.0.1/x", "utf-8"), "");
}

TEST(FetchText, UnreachableAddressGivesEmptyText) {
    EXPECT_EQ(FetchText("http://127.0.0.1:" + std::to_string(closedLoopbackPort()) + "/", "utf-8"), "");
}

TEST(FetchText, SendsNoCacheHeaderFollowsRedirectsAndReturnsErrorBodies) {
    LoopbackServer server;
    std::string ifModifiedSince;
    server.routes().Get("/page", [&](const httplib::Request& req, httplib::Response& res) {
        ifModifiedSince = req.get_header_value("If-Modified-Since");
        res.set_content("<p>页面</p>", "text/html");
    });
    server.routes().Get("/moved",
                        [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/page"); });
    server.routes().Get("/gone", [](const httplib::Request&, httplib::Response& res) {
        res.status = 404;
        res.set_content("<h1>404 找不到</h1>", "text/html");
    });
    server.start();
    EXPECT_EQ(FetchText(server.site() + "/page", "utf-8"), "<p>页面</p>");
    EXPECT_EQ(ifModifiedSince, "0");
    EXPECT_EQ(FetchText(server.site() + "/moved", "utf-8"), "<p>页面</p>");
    EXPECT_EQ(FetchText(server.site() + "/gone", "utf-8"), "<h1>404 找不到</h1>");
}

TEST(FetchText, SearchWordsWithSpacesAndChineseArriveEncoded) {
    LoopbackServer server;
    std::string target, word;
    server.routes().Get("/appweb/search", [&](const httplib::Request& req, httplib::Response& res) {
        target = req.target;
        word = req.get_param_value("w");
        res.set_content("ok", "text/plain");
    });
    server.start();
    EXPECT_EQ(FetchText(server.site() + "/appweb/search?w=连连看 game%21", "utf-8"), "ok");
    EXPECT_EQ(target, "/appweb/search?w=%E8%BF%9E%E8%BF%9E%E7%9C%8B%20game%21");
    EXPECT_EQ(word, "连连看 game!");
}

TEST(FetchText, StalledServerEndsWithEmptyTextAfterTheTimeOut) {
    LoopbackServer server;
    std::atomic<bool> released{false};
    server.routes().Get("/stall", [&](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("text/html", [&](size_t offset, httplib::DataSink& sink) {
            if (offset == 0) {
                sink.write("<div>", 5);
                return true;
            }
            // Send nothing more until the test is done, at most 20 seconds.
            for (int i = 0; i < 2000 && !released; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            sink.done();
            return true;
        });
    });
    server.start();
    {
        ShortStallTimeout shortTimeout;
        EXPECT_EQ(FetchText(server.site() + "/stall", "utf-8"), "");
    }
    released = true;
}

TEST(FetchText, CancelFlagEndsARunningFetchOnItsThreadOnly) {
    LateServer late;
    LoopbackServer& server = late.server;
    std::atomic<bool> cancel{false};
    std::string result = "unset";
    std::thread worker([&] {
        setFetchCancelFlag(&cancel);
        result = FetchText(server.site() + "/slow", "utf-8");
        setFetchCancelFlag(nullptr);
    });
    // The worker's fetch runs once the server has its request; another thread's fetches are not
    // affected by the flag.
    EXPECT_TRUE(late.slowRequested());
    cancel = true;
    EXPECT_EQ(FetchText(server.site() + "/page", "utf-8"), "<p>page</p>");
    worker.join();
    // Without the cancel the answer would come, 20 seconds late.
    EXPECT_EQ(result, "");
}

TEST(FetchText, FetchPageTellsAPageNotFetchedFromAnEmptyOrErrorPage) {
    LoopbackServer server;
    server.routes().Get(
        "/empty", [](const httplib::Request&, httplib::Response& res) { res.set_content("", "text/html"); });
    server.routes().Get("/gone", [](const httplib::Request&, httplib::Response& res) {
        res.status = 404;
        res.set_content("<h1>404</h1>", "text/html");
    });
    server.start();
    EXPECT_EQ(FetchPage(server.site() + "/empty", "utf-8"), "");
    EXPECT_EQ(FetchPage(server.site() + "/gone", "utf-8"), "<h1>404</h1>");
    EXPECT_EQ(FetchPage("http://127.0.0.1:" + std::to_string(closedLoopbackPort()) + "/", "utf-8"),
              std::nullopt);
    TempDir dir;
    ASSERT_TRUE(base::writeFileAtomic(dir.path() / "empty.html", ""));
    EXPECT_EQ(FetchPage((dir.path() / "empty.html").string(), "utf-8"), "");
    EXPECT_EQ(FetchPage((dir.path() / "missing.html").string(), "utf-8"), std::nullopt);
}

TEST(FetchText, ADeadlineEndsTheFetchesOfItsThreadOnly) {
    LateServer late;
    LoopbackServer& server = late.server;
    std::optional<std::string> silent = "unset", afterwards = "unset";
    std::atomic<bool> deadlineSet{false};
    std::thread worker([&] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
        setFetchDeadline(deadline);
        deadlineSet = true;
        silent = FetchPage(server.site() + "/slow", "utf-8");
        // Past the deadline nothing more is fetched on this thread.
        std::this_thread::sleep_until(deadline + std::chrono::milliseconds(10));
        afterwards = FetchPage(server.site() + "/page", "utf-8");
    });
    // Without the deadline the answer would come 20 seconds late. This thread fetches once the
    // worker's deadline is set.
    while (!deadlineSet)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(FetchText(server.site() + "/page", "utf-8"), "<p>page</p>");
    worker.join();
    EXPECT_EQ(silent, std::nullopt);
    EXPECT_EQ(afterwards, std::nullopt);
}

TEST(FetchText, BodiesOverTheCapAreRefused) {
    LoopbackServer server;
    server.routes().Get("/huge", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(std::string(kMaxBodyBytes + 1, 'x'), "text/html");
    });
    server.start();
    EXPECT_EQ(FetchText(server.site() + "/huge", "utf-8"), "");
}

TEST(FetchText, PendingEventsHookRunsForFetchAndDecode) {
    TempDir dir;
    const auto file = dir.path() / "a.html";
    ASSERT_TRUE(base::writeFileAtomic(file, "a"));
    int calls = 0;
    setPendingEventsHook([&] { ++calls; });
    EXPECT_EQ(FetchText(file.string(), "utf-8"), "a");
    setPendingEventsHook({});
    EXPECT_EQ(calls, 2);
}

TEST(DecodeBody, DecodesNamedCharsetsAndKeepsThePageAroundBadBytes) {
    EXPECT_EQ(DecodeBody("\xC4\xE3\xBA\xC3", "gbk"), "你好");
    EXPECT_EQ(DecodeBody("\xEF\xBB\xBFok", "UTF-8"), "ok");
    EXPECT_EQ(DecodeBody("a\xFF"
                         "b",
                         "utf-8"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(DecodeBody("ab\xE4\xBD", "utf-8"), "ab\xEF\xBF\xBD\xEF\xBF\xBD"); // cut-off sequence
    // Beyond U+10FFFF and five-byte forms: not Unicode, so not passed on (one U+FFFD per byte).
    const std::string fffd = "\xEF\xBF\xBD";
    EXPECT_EQ(DecodeBody("a\xF4\x90\x80\x80"
                         "b\xF8\x88\x80\x80\x80"
                         "c",
                         "utf-8"),
              "a" + fffd + fffd + fffd + fffd + "b" + fffd + fffd + fffd + fffd + fffd + "c");
    EXPECT_EQ(DecodeBody("\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF", "utf-8"), "\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF");
    EXPECT_EQ(DecodeBody("abc", "no-such-charset"), "");
    EXPECT_EQ(DecodeBody("", "utf-8"), "");
}

TEST(FetchText, FetchPagesRunsAtMostPerHostAtOnceOverReusedConnectionsAndAnswersEachAddressOnce) {
    // Each request waits until three are in flight (or five seconds pass), so the peak shows both
    // that the fetches overlap and that no more than three connections are open to the host.
    LoopbackServer server;
    std::atomic<int> inFlight{0}, peak{0};
    std::mutex portsMutex;
    std::set<int> clientPorts;
    std::string ifModifiedSince;
    server.routes().Get("/page", [&](const httplib::Request& req, httplib::Response& res) {
        const int now = ++inFlight;
        for (int seen = peak; now > seen && !peak.compare_exchange_weak(seen, now);) {
        }
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (inFlight < 3 && peak < 3 && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        {
            const std::lock_guard lock(portsMutex);
            clientPorts.insert(req.remote_port);
            ifModifiedSince = req.get_header_value("If-Modified-Since");
        }
        res.set_content("<p>第" + req.get_param_value("n") + "页</p>", "text/html");
        --inFlight;
    });
    server.routes().Get("/gone", [](const httplib::Request&, httplib::Response& res) {
        res.status = 404;
        res.set_content("<h1>404 找不到</h1>", "text/html");
    });
    server.start();
    TempDir dir;
    const auto local = dir.path() / "local.html";
    base::writeFileAtomic(local, "<p>本地</p>");

    std::vector<std::string> urls;
    for (int n = 0; n < 6; ++n)
        urls.push_back(server.url("/page?n=" + std::to_string(n)));
    urls.push_back(server.url("/gone"));
    urls.push_back("http://127.0.0.1:" + std::to_string(closedLoopbackPort()) + "/page");
    urls.push_back(local.string());
    std::vector<std::optional<std::string>> pages(urls.size());
    std::vector<int> calls(urls.size(), 0);
    FetchPages(urls, "utf-8", 3, [&](std::size_t index, std::optional<std::string> page) {
        ++calls.at(index);
        pages.at(index) = std::move(page);
    });

    EXPECT_EQ(calls, std::vector<int>(urls.size(), 1));
    for (int n = 0; n < 6; ++n)
        EXPECT_EQ(pages[n], "<p>第" + std::to_string(n) + "页</p>");
    EXPECT_EQ(pages[6], "<h1>404 找不到</h1>");
    EXPECT_EQ(pages[7], std::nullopt);
    EXPECT_EQ(pages[8], "<p>本地</p>");
    EXPECT_EQ(peak, 3);
    EXPECT_LE(clientPorts.size(), 3u); // later requests went over the first connections
    EXPECT_EQ(ifModifiedSince, "0");
}
