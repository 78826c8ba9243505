// The program's web profiles against a loopback site, each "run" a WebProfiles of its own on one
// application folder: what a page app stores lasts into the next run and stays its own, the store
// page apps shared in earlier versions goes to each of them, and the catalogue's cache shows the
// store's style sheet when the store is gone.

#include "web/qt/WebProfiles.h"

#include "LoopbackServer.h"
#include "PageScript.h"
#include "TempDir.h"
#include "base/StableName.h"
#include "web/qt/PersistentCookies.h"
#include "web/qt/WebBrowser.h"

#include <QFile>
#include <QSignalSpy>
#include <QWebEngineProfile>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// /store?v=NOTE keeps NOTE in every kind of site storage and titles itself "stored" when done;
// /read titles itself with what it finds.
const char* const kStorePage = R"(<script>
const note = new URLSearchParams(location.search).get("v");
localStorage.setItem("note", note);
document.cookie = "lasting=" + note + "; max-age=86400; path=/";
document.cookie = "session=1; path=/";
const open = indexedDB.open("notes", 1);
open.onupgradeneeded = () => open.result.createObjectStore("notes");
open.onsuccess = () => {
    const put = open.result.transaction("notes", "readwrite");
    put.objectStore("notes").put(note, "note");
    put.oncomplete = () => { document.title = "stored"; };
};
</script>)";
const char* const kReadPage = R"(<script>
const open = indexedDB.open("notes", 1);
open.onupgradeneeded = () => open.result.createObjectStore("notes");
open.onsuccess = () => {
    const get = open.result.transaction("notes").objectStore("notes").get("note");
    get.onsuccess = () => {
        document.title = "local=" + localStorage.getItem("note") + " cookies=" + document.cookie +
                         " indexed=" + get.result;
    };
};
</script>)";

void loadAndWait(WebBrowser& view, const std::string& address) {
    QSignalSpy complete(&view, &WebBrowser::DocumentComplete);
    view.Navigate(QString::fromStdString(address));
    ASSERT_TRUE(complete.wait(15000)) << address;
}

QString titleOnceSet(WebBrowser& view) {
    const auto title = [&] { return evaluate(*view.page(), "document.title").toString(); };
    waitUntil([&] { return !title().isEmpty(); }, 10000);
    return title();
}

QString found(const QString& note) {
    return QStringLiteral("local=%1 cookies=lasting=%1 indexed=%1").arg(note);
}
const QString Nothing = QStringLiteral("local=null cookies= indexed=undefined");

class Site {
  public:
    Site() {
        server.routes().Get("/store", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(kStorePage, "text/html");
        });
        server.routes().Get("/read", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(kReadPage, "text/html");
        });
        server.start();
    }
    // Stores note with a view on profile; returns the page's title.
    QString store(QWebEngineProfile* profile, const std::string& note) {
        WebBrowser view(profile);
        loadAndWait(view, server.url("/store?v=" + note));
        return titleOnceSet(view);
    }
    QString read(QWebEngineProfile* profile) {
        WebBrowser view(profile);
        loadAndWait(view, server.url("/read"));
        return titleOnceSet(view);
    }

    LoopbackServer server;
};

const std::string AppA = "http://store/appweb/app?id=1";
const std::string AppB = "http://store/appweb/app?id=2";

} // namespace

TEST(WebProfilesTest, PageAppDataLastsIntoTheNextRunInTheAppsOwnFolderAndStaysThatApps) {
    TempDir app;
    Site site;
    {
        WebProfiles web(app.path());
        EXPECT_EQ(site.store(web.pageApp(AppA), "kept"), QStringLiteral("stored"));
    }
    const fs::path data = app.path() / "WebData";
    const fs::path folderA = data / "PageApps" / base::stableName(AppA);
    EXPECT_TRUE(fs::is_directory(folderA / "Local Storage"));
    for (const fs::path& mine : {data, data / "PageApps", folderA})
        EXPECT_EQ(fs::status(mine).permissions() & fs::perms::all, fs::perms::owner_all) << mine;

    WebProfiles web(app.path());
    EXPECT_EQ(web.pageApp(AppA)->persistentStoragePath().toStdString(), folderA.string());
    EXPECT_EQ(web.pageApp(AppA), web.pageApp(AppA));
    EXPECT_EQ(web.catalogue()->persistentStoragePath().toStdString(), (data / "Catalogue").string());
    EXPECT_EQ(site.read(web.pageApp(AppA)), found("kept"));

    // The same site in another page app's profile, the catalogue's and a player's finds nothing of it.
    QObject owner;
    QWebEngineProfile* player = WebProfiles::newPlayerProfile(&owner);
    EXPECT_TRUE(player->isOffTheRecord());
    EXPECT_NE(player, WebProfiles::newPlayerProfile(&owner));
    for (QWebEngineProfile* profile : {web.pageApp(AppB), web.catalogue(), player})
        EXPECT_EQ(site.read(profile), Nothing) << profile->storageName().toStdString();
}

// Earlier versions kept every page app in one profile in WebData/PageApps/ itself.
TEST(WebProfilesTest, TheStorePageAppsOnceSharedGoesToEachAppWhichThenKeepsItsOwn) {
    TempDir app;
    Site site;
    const fs::path root = app.path() / "WebData" / "PageApps";
    {
        QWebEngineProfile shared(QStringLiteral("PageApps"));
        shared.setPersistentStoragePath(QString::fromStdString(root.string()));
        shared.setCachePath(QString::fromStdString(root.string()));
        shared.setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
        PersistentCookies cookies(*shared.cookieStore(), root / "Cookies.txt");
        EXPECT_EQ(site.store(&shared, "old"), QStringLiteral("stored"));
    }
    {
        WebProfiles web(app.path());
        EXPECT_EQ(site.read(web.pageApp(AppA)), found("old"));
        EXPECT_EQ(site.store(web.pageApp(AppA), "a"), QStringLiteral("stored"));
        EXPECT_EQ(site.read(web.pageApp(AppB)), found("old"));
        EXPECT_EQ(site.store(web.pageApp(AppB), "b"), QStringLiteral("stored"));
        // The page's session cookie lasts while the program runs.
        EXPECT_EQ(site.read(web.pageApp(AppA)),
                  QStringLiteral("local=a cookies=lasting=a; session=1 indexed=a"));
    }
    EXPECT_FALSE(fs::exists(root / "Local Storage"));
    EXPECT_FALSE(fs::exists(root / "Cookies.txt"));
    WebProfiles web(app.path());
    EXPECT_EQ(site.read(web.pageApp(AppA)), found("a"));
    EXPECT_EQ(site.read(web.pageApp(AppB)), found("b"));
}

TEST(WebProfilesTest, TheCatalogueShowsTheStoreStyleSheetFromItsCacheWhileTheStoreIsDown) {
    TempDir app;
    const fs::path page = app.path() / "page.html";
    auto store = std::make_unique<LoopbackServer>();
    store->routes().Get("/style.css", [](const httplib::Request&, httplib::Response& res) {
        res.set_header("Cache-Control", "max-age=86400");
        res.set_content("body { background-color: rgb(1, 2, 3); }", "text/css");
    });
    store->start();
    QFile file(QString::fromStdString(page.string()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(("<link rel=stylesheet href='" + store->url("/style.css") + "'><body>page</body>").c_str());
    file.close();
    const QString styled =
        QStringLiteral("getComputedStyle(document.body).backgroundColor == 'rgb(1, 2, 3)'");

    for (bool storeUp : {true, false}) {
        WebProfiles web(app.path());
        WebBrowser view(web.catalogue());
        view.setScriptsEnabled(false);
        loadAndWait(view, page.string());
        EXPECT_TRUE(waitForScript(*view.page(), styled, QWebEngineScript::ApplicationWorld)) << storeUp;
        store.reset();
    }
}
