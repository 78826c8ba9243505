#include "web/qt/WebBrowser.h"

#include "LoopbackServer.h"
#include "PageScript.h"
#include "TempDir.h"
#include "WaitUntil.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <atomic>
#include <gtest/gtest.h>

namespace {

void writeText(const std::filesystem::path& file, const QByteArray& bytes) {
    QFile out(QString::fromStdString(file.string()));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
}

class WebBrowserTest : public ::testing::Test {
  protected:
    WebBrowserTest() { view.resize(400, 300); }

    std::filesystem::path page(const std::string& name, const QByteArray& html) {
        auto file = dir.path() / name;
        writeText(file, html);
        return file;
    }
    // Navigates to a local file and waits until it is shown.
    void show(const std::filesystem::path& file) {
        QSignalSpy complete(&view, &WebBrowser::DocumentComplete);
        view.Navigate(QString::fromStdString(file.string()));
        EXPECT_TRUE(view.Busy());
        ASSERT_TRUE(complete.wait(15000));
        EXPECT_EQ(complete.at(0).at(0).toUrl(), QUrl::fromLocalFile(QString::fromStdString(file.string())));
        EXPECT_FALSE(view.Busy());
    }

    TempDir dir;
    WebBrowser view{QWebEngineProfile::defaultProfile()};
};

} // namespace

TEST_F(WebBrowserTest, ShowsALocalUtf8PageWithoutCharsetTagAndReportsEveryFinishedLoad) {
    QSignalSpy downloads(&view, &WebBrowser::DownloadComplete);
    show(page("汉字.html", "<html><head><title>应用盒子</title></head><body>小游戏 网页游戏</body></html>"));
    EXPECT_EQ(evaluate(*view.page(), "document.title").toString(), QStringLiteral("应用盒子"));
    EXPECT_EQ(evaluate(*view.page(), "document.body.innerText").toString(),
              QStringLiteral("小游戏 网页游戏"));
    EXPECT_EQ(downloads.count(), 1);
}

TEST_F(WebBrowserTest, BeforeNavigateSeesTheAddressAndCancelStopsTheNavigation) {
    LoopbackServer store;
    store.routes().Get("/second", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("<p>second</p>", "text/html");
    });
    store.start();
    const QUrl second(QString::fromStdString(store.url("/second")));
    show(page("first.html", "<a id=go href='" + second.toEncoded() + "'>next</a>"));
    QList<QUrl> seen;
    bool refuse = true;
    QObject::connect(
        &view, &WebBrowser::BeforeNavigate2, &view,
        [&](const QUrl& url, bool& cancel) {
            seen << url;
            cancel = refuse;
        },
        Qt::DirectConnection);

    QSignalSpy downloads(&view, &WebBrowser::DownloadComplete);
    evaluate(*view.page(), "document.getElementById('go').click()");
    ASSERT_TRUE(waitUntil([&] { return !seen.isEmpty(); }, 10000));
    EXPECT_EQ(seen.first(), second);
    // The refused navigation ends as a failed load.
    ASSERT_TRUE(waitUntil([&] { return downloads.count() > 0; }, 10000));
    EXPECT_FALSE(view.Busy());
    EXPECT_TRUE(evaluate(*view.page(), "document.location.href").toString().endsWith("/first.html"));

    refuse = false;
    QSignalSpy complete(&view, &WebBrowser::DocumentComplete);
    evaluate(*view.page(), "document.getElementById('go').click()");
    ASSERT_TRUE(complete.wait(10000));
    EXPECT_EQ(complete.last().at(0).toUrl(), second);
}

TEST_F(WebBrowserTest, NewWindowRequestCarriesTheAddressAndOpensNoWindow) {
    show(page("links.html", "<body style='margin:0'><a id=app target=_blank style='font-size:60px' "
                            "href='http://127.0.0.1:9/appweb/app/7'>app</a>"
                            "<script>function openIt() { window.open('http://127.0.0.1:9/w'); }</script>"));
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    const auto windowsBefore = QApplication::topLevelWidgets().size();
    QSignalSpy requests(&view, &WebBrowser::NewWindow3);
    QWidget* target = view.focusProxy() ? view.focusProxy() : &view;
    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(20, 30));
    ASSERT_TRUE(requests.wait(10000));
    EXPECT_EQ(requests.at(0).at(0).toUrl(), QUrl("http://127.0.0.1:9/appweb/app/7"));

    evaluate(*view.page(), "openIt()");
    ASSERT_TRUE(requests.count() == 2 || requests.wait(10000));
    EXPECT_EQ(requests.at(1).at(0).toUrl(), QUrl("http://127.0.0.1:9/w"));
    // The engine makes a window in the same call that asked for it, after the request was refused.
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windowsBefore);
    EXPECT_TRUE(evaluate(*view.page(), "document.location.href").toString().endsWith("/links.html"));
}

TEST_F(WebBrowserTest, LocalPageCannotReadLocalFilesButLoadsStoreStyleSheetAndPicture) {
    LoopbackServer store;
    store.routes().Get("/css/app.css", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("body { background-color: rgb(1, 2, 3); }", "text/css");
    });
    store.routes().Get("/img/icon.bmp", [](const httplib::Request&, httplib::Response& res) {
        // A 1 x 1 24-bit BMP.
        static const char bmp[] = "BM\x3a\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\x18\0"
                                  "\0\0\0\0\x04\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xff\0\0\0";
        res.set_content(std::string(bmp, sizeof bmp - 1), "image/bmp");
    });
    store.start();
    page("secret.txt", "secret");
    const QByteArray html = "<link rel=stylesheet href='" +
                            QByteArray::fromStdString(store.url("/css/app.css")) + "'><img id=pic src='" +
                            QByteArray::fromStdString(store.url("/img/icon.bmp")) +
                            "'><script>var leaked = 'pending';"
                            "var x = new XMLHttpRequest(); x.open('GET', 'secret.txt');"
                            "x.onload = function() { leaked = x.responseText; };"
                            "x.onerror = function() { leaked = 'refused'; };"
                            "try { x.send(); } catch (e) { leaked = 'refused'; }</script>";
    show(page("store.html", html));

    EXPECT_TRUE(waitForScript(*view.page(), "leaked !== 'pending'"));
    EXPECT_EQ(evaluate(*view.page(), "leaked").toString(), "refused");
    EXPECT_TRUE(
        waitForScript(*view.page(), "getComputedStyle(document.body).backgroundColor == 'rgb(1, 2, 3)'"));
    EXPECT_TRUE(waitForScript(*view.page(), "document.getElementById('pic').naturalWidth == 1"));
}

TEST_F(WebBrowserTest, WithScriptsOffAStorePageCannotReachOtherSitesButItsAppLinksStillAskForAWindow) {
    LoopbackServer intranet;
    std::atomic<int> reads = 0;
    intranet.routes().Get("/private", [&](const httplib::Request&, httplib::Response& res) {
        ++reads;
        res.set_content("private", "text/plain");
    });
    intranet.start();
    view.setScriptsEnabled(false);
    show(page("cut.html", "<body style='margin:0'><a target=_blank style='font-size:60px' "
                          "href='http://127.0.0.1:9/appweb/app/7'>app</a><script>"
                          "var x = new XMLHttpRequest(); x.open('GET', '" +
                              QByteArray::fromStdString(intranet.url("/private")) +
                              "'); x.send();</script>"));
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QSignalSpy requests(&view, &WebBrowser::NewWindow3);
    QWidget* target = view.focusProxy() ? view.focusProxy() : &view;
    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(20, 30));
    ASSERT_TRUE(requests.wait(10000));
    EXPECT_EQ(requests.at(0).at(0).toUrl(), QUrl("http://127.0.0.1:9/appweb/app/7"));
    EXPECT_EQ(reads, 0);
}

TEST_F(WebBrowserTest, RightClickOpensNoContextMenu) {
    show(page("menu.html", "<body style='height:500px'>text</body>"));
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_EQ(view.contextMenuPolicy(), Qt::NoContextMenu);
    ASSERT_TRUE(rightClickReachesPage(view, QPoint(50, 50)));
    QWidget* target = view.focusProxy() ? view.focusProxy() : &view;
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(50, 50), view.mapToGlobal(QPoint(50, 50)));
    QApplication::sendEvent(target, &event);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<QMenu*>(w) && w->isVisible());
}

TEST_F(WebBrowserTest, MoveTakesTwipsAndAllowsNegativeOffsets) {
    QWidget parent;
    auto* inner = new WebBrowser(QWebEngineProfile::defaultProfile(), &parent);
    inner->Move(-50, -100, 4500, 3080);
    EXPECT_EQ(inner->geometry(), QRect(-3, -7, 300, 205));
}
