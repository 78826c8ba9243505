// The program's web profiles against a loopback site, each "run" a WebProfiles of its own on one
// application folder: what page apps store lasts into the next run and stays theirs, and the
// catalogue's cache shows the store's style sheet when the store is gone.

#include "web/qt/WebProfiles.h"

#include "LoopbackServer.h"
#include "PageScript.h"
#include "TempDir.h"
#include "web/qt/WebBrowser.h"

#include <QFile>
#include <QSignalSpy>
#include <QWebEngineProfile>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// /store keeps a note in every kind of site storage and titles itself "stored" when done; /read
// titles itself with what it finds.
const char* const kStorePage = R"(<script>
localStorage.setItem("note", "kept");
document.cookie = "lasting=1; max-age=86400; path=/";
document.cookie = "session=1; path=/";
const open = indexedDB.open("notes", 1);
open.onupgradeneeded = () => open.result.createObjectStore("notes");
open.onsuccess = () => {
    const put = open.result.transaction("notes", "readwrite");
    put.objectStore("notes").put("kept", "note");
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

} // namespace

TEST(WebProfilesTest, PageAppDataLastsIntoTheNextRunInTheApplicationFolderAndStaysThePageApps) {
    TempDir app;
    LoopbackServer site;
    site.routes().Get("/store", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(kStorePage, "text/html");
    });
    site.routes().Get("/read", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(kReadPage, "text/html");
    });
    site.start();
    {
        WebProfiles web(app.path());
        WebBrowser view(web.pageApps());
        loadAndWait(view, site.url("/store"));
        EXPECT_EQ(titleOnceSet(view), QStringLiteral("stored"));
    }
    const fs::path data = app.path() / "WebData";
    EXPECT_TRUE(fs::is_directory(data / "PageApps"));
    EXPECT_EQ(fs::status(data).permissions() & fs::perms::all, fs::perms::owner_all);

    WebProfiles web(app.path());
    EXPECT_EQ(web.pageApps()->persistentStoragePath().toStdString(), (data / "PageApps").string());
    EXPECT_EQ(web.catalogue()->persistentStoragePath().toStdString(), (data / "Catalogue").string());
    WebBrowser pageApp(web.pageApps());
    loadAndWait(pageApp, site.url("/read"));
    EXPECT_EQ(titleOnceSet(pageApp), QStringLiteral("local=kept cookies=lasting=1 indexed=kept"));

    // The same site in the catalogue's profile and in a player's finds nothing of it.
    QObject owner;
    QWebEngineProfile* player = WebProfiles::newPlayerProfile(&owner);
    EXPECT_TRUE(player->isOffTheRecord());
    EXPECT_NE(player, WebProfiles::newPlayerProfile(&owner));
    WebBrowser catalogue(web.catalogue());
    WebBrowser movie(player);
    for (WebBrowser* view : {&catalogue, &movie}) {
        loadAndWait(*view, site.url("/read"));
        EXPECT_EQ(titleOnceSet(*view), QStringLiteral("local=null cookies= indexed=undefined"));
    }
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
