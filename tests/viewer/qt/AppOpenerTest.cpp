#include "viewer/qt/AppOpener.h"

#include "LoopbackServer.h"
#include "TempDir.h"
#include "WaitUntil.h"
#include "viewer/qt/PlayerSchemeHandler.h"
#include "web/qt/WebProfiles.h"

#include <QSignalSpy>
#include <QTest>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

const bool schemeRegistered = (PlayerSchemeHandler::registerScheme(), true);

// Link pages /link/N forward to the detail page /app/N (a page app, no movie, nothing to fetch);
// link 1 answers slowly.
class AppOpenerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(schemeRegistered);
        store.routes().Get(R"(/link/(\d+))", [this](const httplib::Request& req, httplib::Response& res) {
            if (req.matches[1] == "1") std::this_thread::sleep_for(std::chrono::milliseconds(800));
            res.set_content("<script>top.location.href = \"" + store.url("/app/" + req.matches[1].str()) +
                                "\";",
                            "text/html");
        });
        store.routes().Get(R"(/app/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content("app_name:\"App " + req.matches[1].str() + "\",", "text/html");
        });
        // A movie app whose link answers at once and whose details slowly.
        store.routes().Get("/movielink", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content("<script>top.location.href = \"" + store.url("/widget/9") + "\";", "text/html");
        });
        store.routes().Get("/widget/9", [](const httplib::Request&, httplib::Response& res) {
            std::this_thread::sleep_for(std::chrono::milliseconds(800));
            res.set_content("app_name:\"Movie\", flash : \"/swf/m.swf\",", "text/html");
        });
        store.routes().Get("/plain", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("<p>维护中</p>", "text/html");
        });
        // Accepts and answers only once the test is over (at most 20 seconds).
        store.routes().Get("/silent", [this](const httplib::Request&, httplib::Response& res) {
            for (int i = 0; i < 2000 && !released; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            res.set_content("late", "text/html");
        });
        store.start();
    }
    void TearDown() override { released = true; }
    QUrl url(const std::string& path) const { return QUrl(QString::fromStdString(store.url(path))); }
    QUrl link(int n) const { return QUrl(QString::fromStdString(store.url("/link/" + std::to_string(n)))); }

    TempDir app;
    std::atomic<bool> released{false};
    LoopbackServer store;
    WebProfiles web{app.path()};
    AppOpener opener{app.path(), defaultSettings(), "http://127.0.0.1:1", web};
};

} // namespace

TEST_F(AppOpenerTest, ASecondClickWhileTheFirstIsOpeningOpensOnlyTheSecond) {
    QSignalSpy opened(&opener, &AppOpener::opened);
    opener.open(link(1));
    opener.open(link(2));
    ASSERT_TRUE(waitUntil([&] { return opened.count() == 1; }, 10000));
    EXPECT_EQ(opener.viewer()->windowTitle(), QStringLiteral("App 2"));
    QTest::qWait(1500); // the first read has ended by now and is dropped
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(opener.current().CurrentApp.Name, "App 2");
    EXPECT_FALSE(opener.current().IsWidgetApp);
}

TEST_F(AppOpenerTest, ANewAppReplacesTheViewerAndClosingEndsIt) {
    QSignalSpy opened(&opener, &AppOpener::opened);
    // The viewer may open within open() when the store answers while the window is being built.
    opener.open(link(2));
    ASSERT_TRUE(waitUntil([&] { return opened.count() == 1; }, 10000));
    QPointer<FlashPayFrm> first = opener.viewer();
    opener.open(link(3));
    ASSERT_TRUE(waitUntil([&] { return opened.count() == 2; }, 10000));
    EXPECT_TRUE(first.isNull() || !first->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(opener.viewer()->windowTitle(), QStringLiteral("App 3"));
    EXPECT_TRUE(opener.viewer()->isVisible());

    opener.closeViewer();
    QTest::qWait(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(opener.viewer(), nullptr);
}

TEST_F(AppOpenerTest, ClosingWhileAnAppIsOpeningShowsNoViewer) {
    QSignalSpy opened(&opener, &AppOpener::opened);
    opener.open(link(1)); // answers after 800 ms
    opener.closeViewer();
    runEventsFor(1500);
    EXPECT_EQ(opened.count(), 0);
    EXPECT_EQ(opener.viewer(), nullptr);
}

TEST_F(AppOpenerTest, APageAppClickedWhileAMovieAppIsReadGetsABrowserNotThePlayer) {
    AppOpener movieOpener{app.path(), defaultSettings(), store.site(), web};
    QSignalSpy opened(&movieOpener, &AppOpener::opened);
    movieOpener.open(QUrl(QString::fromStdString(store.url("/movielink"))));
    runEventsFor(300); // the link has answered: the window being prepared holds the player
    movieOpener.open(link(2));
    ASSERT_TRUE(waitUntil([&] { return opened.count() == 1; }, 10000));
    EXPECT_EQ(movieOpener.viewer()->windowTitle(), QStringLiteral("App 2"));
    EXPECT_EQ(movieOpener.viewer()->flash(), nullptr);
    EXPECT_NE(movieOpener.viewer()->AppWeb(), nullptr);
    runEventsFor(1000); // the movie app's read ends and is dropped
    EXPECT_EQ(opened.count(), 1);
}

TEST_F(AppOpenerTest, AnAppThatCannotBeReadShowsANoteInsteadOfAViewer) {
    QSignalSpy opened(&opener, &AppOpener::opened);
    QSignalSpy notes(&opener, &AppOpener::notOpened);
    const std::vector<std::pair<QUrl, QString>> cases{
        {QUrl("http://127.0.0.1:1/appweb/app?id=5"), AppOpener::UnreachableNote}, // refused
        {url("/silent"), AppOpener::UnreachableNote}, // accepts, never answers: the read's deadline
        {url("/plain"), AppOpener::NotAnAppNote}};
    for (const auto& [address, note] : cases) {
        notes.clear();
        opener.open(address);
        ASSERT_TRUE(waitUntil([&] { return notes.count() == 1; }, 10000)) << address.toString().toStdString();
        EXPECT_EQ(notes.first().at(0).toString(), note);
    }
    EXPECT_EQ(opened.count(), 0);
    EXPECT_EQ(opener.viewer(), nullptr);

    // Nothing is left over: the next app opens as usual.
    opener.open(link(2));
    ASSERT_TRUE(waitUntil([&] { return opened.count() == 1; }, 10000));
    EXPECT_EQ(opener.viewer()->windowTitle(), QStringLiteral("App 2"));
    EXPECT_EQ(notes.count(), 1);
}
