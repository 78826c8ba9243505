// A page app opened as Brindle opens one, in a process of its own for tests that kill it:
//
//   pageapp_child APP_FOLDER STORE_SITE APP_LINK [NOTE...]
//
// Starts the web engine as Brindle does, opens the app behind APP_LINK in the viewer (on the
// page-app profile of APP_FOLDER) and prints what the notes app holds, "notes <its notes>" and
// "cookies <the page's cookies>". Then it adds each NOTE through the app's form, six seconds apart,
// and sets a cookie "last" with it, printing "written NOTE" after each, and runs until it is ended.

#include "WaitUntil.h"
#include "startup/Settings.h"
#include "viewer/qt/AppOpener.h"
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

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: pageapp_child APP_FOLDER STORE_SITE APP_LINK [NOTE...]\n");
        return 2;
    }
    WebProfiles::prepareEngine();
    QApplication app(argc, argv);
    const std::filesystem::path appFolder = argv[1];
    WebProfiles web(appFolder);
    Settings settings = defaultSettings();
    settings.skinName = "Default";
    AppOpener opener(appFolder, settings, argv[2], web);
    opener.open(QUrl(QString::fromUtf8(argv[3])));
    if (!waitUntil([&] { return opener.viewer() && opener.viewer()->pageReady(); }, 30000)) {
        std::fprintf(stderr, "pageapp_child: the app did not open\n");
        return 1;
    }
    WebBrowser& page = *opener.viewer()->AppWeb();
    say("notes " + evaluate(page, "localStorage.getItem('notes') || ''").toString());
    say("cookies " + evaluate(page, "document.cookie").toString());

    for (int i = 4; i < argc; ++i) {
        if (i > 4) runEventsFor(6000);
        const QString note = QString::fromUtf8(argv[i]);
        const QString quoted =
            QString::fromUtf8(QJsonDocument(QJsonArray{note}).toJson(QJsonDocument::Compact));
        evaluate(page,
                 QStringLiteral("(function (note) {"
                                "  document.getElementById('text').value = note;"
                                "  document.getElementById('add').requestSubmit();"
                                "  document.cookie = 'last=' + encodeURIComponent(note) + '; max-age=86400';"
                                "})(%1[0])")
                     .arg(quoted));
        say("written " + note);
    }
    return app.exec();
}
