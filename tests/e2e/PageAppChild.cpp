// Page apps opened as Brindle opens them, in a process of its own for tests that kill or restart it:
//
//   pageapp_child APP_FOLDER STORE_SITE APP_LINK [NOTE...]
//   pageapp_child APP_FOLDER STORE_SITE --keep KEY APP_LINK VALUE [APP_LINK VALUE...]
//
// Starts the web engine as Brindle does and opens the app behind APP_LINK in the viewer (on the
// app's profile in APP_FOLDER).
//
// The first form prints what the notes app holds, "notes <its notes>" and "cookies <the page's
// cookies>". Then it adds each NOTE through the app's form, six seconds apart, and sets a cookie
// "last" with it, printing "written NOTE" after each, and runs until it is ended.
//
// The second form opens each APP_LINK in turn, the new viewer replacing the last as a click does.
// For each it prints "found [local storage, cookie, IndexedDB]" (JSON, null for nothing) under
// KEY, then keeps VALUE under KEY in all three and prints "kept VALUE". After the last it closes
// the viewer and ends, which puts everything on disk.

#include "WaitUntil.h"
#include "startup/Settings.h"
#include "viewer/qt/AppOpener.h"
#include "viewer/qt/PlayerGroup.h"
#include "web/qt/WebBrowser.h"
#include "web/qt/WebProfiles.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QWebEnginePage>
#include <cstdio>

namespace {

QVariant evaluate(WebBrowser& view, const QString& script) {
    QVariant result;
    bool done = false;
    view.page()->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    waitUntil([&] { return done; }, 10000);
    return result;
}

void say(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

QString json(const QString& text) {
    return QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact));
}

// Runs an async function of the page with arguments and waits for the text it gives.
QString awaitScript(WebBrowser& view, const QString& function, const QStringList& arguments) {
    QStringList quoted;
    for (const QString& argument : arguments)
        quoted << json(argument) + "[0]";
    evaluate(view,
             QStringLiteral(
                 "window.brindleResult = undefined;"
                 "(%1)(%2).then(r => window.brindleResult = r, e => window.brindleResult = 'error ' + e)")
                 .arg(function, quoted.join(',')));
    QString result;
    waitUntil(
        [&] {
            const QVariant value = evaluate(view, "window.brindleResult");
            result = value.toString();
            return value.isValid() && !value.isNull();
        },
        10000);
    return result;
}

// The object store "kept" of the page's IndexedDB database "kept".
const QString OpenKept = QStringLiteral(R"(() => new Promise((ok, fail) => {
    const open = indexedDB.open("kept", 1);
    open.onupgradeneeded = () => open.result.createObjectStore("kept");
    open.onsuccess = () => ok(open.result);
    open.onerror = () => fail(open.error);
}))");

QString found(WebBrowser& page, const QString& key) {
    return awaitScript(page,
                       QStringLiteral(R"(async (key) => {
        const db = await (%1)();
        const indexed = await new Promise(ok => {
            const get = db.transaction("kept").objectStore("kept").get(key);
            get.onsuccess = () => ok(get.result === undefined ? null : get.result);
        });
        const cookie = document.cookie.split("; ").find(c => c.startsWith(key + "="));
        return JSON.stringify([localStorage.getItem(key),
                               cookie ? decodeURIComponent(cookie.slice(key.length + 1)) : null, indexed]);
    })")
                           .arg(OpenKept),
                       {key});
}

QString keep(WebBrowser& page, const QString& key, const QString& value) {
    return awaitScript(page,
                       QStringLiteral(R"(async (key, value) => {
        localStorage.setItem(key, value);
        document.cookie = key + "=" + encodeURIComponent(value) + "; max-age=86400";
        const db = await (%1)();
        await new Promise((ok, fail) => {
            const put = db.transaction("kept", "readwrite");
            put.objectStore("kept").put(value, key);
            put.oncomplete = ok;
            put.onerror = () => fail(put.error);
        });
        return value;
    })")
                           .arg(OpenKept),
                       {key, value});
}

// Opens link and waits until its page is ready; the page, or null.
WebBrowser* openApp(AppOpener& opener, const QString& link) {
    // A new viewer, also for the link of the viewer open now.
    bool opened = false;
    const auto connection = QObject::connect(&opener, &AppOpener::opened, [&] { opened = true; });
    opener.open(QUrl(link));
    const bool ready = waitUntil([&] { return opened && opener.viewer()->pageReady(); }, 30000);
    QObject::disconnect(connection);
    if (!ready) std::fprintf(stderr, "pageapp_child: the app %s did not open\n", link.toUtf8().constData());
    return ready ? opener.viewer()->AppWeb() : nullptr;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: pageapp_child APP_FOLDER STORE_SITE APP_LINK [NOTE...]\n"
                             "       pageapp_child APP_FOLDER STORE_SITE --keep KEY APP_LINK VALUE...\n");
        return 2;
    }
    WebProfiles::prepareEngine();
    QApplication app(argc, argv);
    const std::filesystem::path appFolder = argv[1];
    WebProfiles web(appFolder);
    Settings settings = defaultSettings();
    settings.skinName = "Default";
    PlayerGroup players;
    AppOpener opener(appFolder, settings, argv[2], web, players);
    if (QByteArray(argv[3]) == "--keep") {
        if (argc < 7 || argc % 2 == 0) return 2;
        const QString key = QString::fromUtf8(argv[4]);
        for (int i = 5; i + 1 < argc; i += 2) {
            WebBrowser* page = openApp(opener, QString::fromUtf8(argv[i]));
            if (!page) return 1;
            say("found " + found(*page, key));
            say("kept " + keep(*page, key, QString::fromUtf8(argv[i + 1])));
        }
        return 0;
    }
    WebBrowser* opened = openApp(opener, QString::fromUtf8(argv[3]));
    if (!opened) return 1;
    WebBrowser& page = *opened;
    say("notes " + evaluate(page, "localStorage.getItem('notes') || ''").toString());
    say("cookies " + evaluate(page, "document.cookie").toString());

    for (int i = 4; i < argc; ++i) {
        if (i > 4) runEventsFor(6000);
        const QString note = QString::fromUtf8(argv[i]);
        evaluate(page,
                 QStringLiteral("(function (note) {"
                                "  document.getElementById('text').value = note;"
                                "  document.getElementById('add').requestSubmit();"
                                "  document.cookie = 'last=' + encodeURIComponent(note) + '; max-age=86400';"
                                "})(%1[0])")
                     .arg(json(note)));
        say("written " + note);
    }
    return app.exec();
}
