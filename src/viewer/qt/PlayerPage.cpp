#include "viewer/qt/PlayerPage.h"

#include "viewer/PlayerFiles.h"

#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

// Qt 6.4's fetch() cannot read a custom scheme, while XHR can; Ruffle fetches its .wasm and the
// movie, so fetches of the player's scheme are answered through XHR.
static const char* const kFetchThroughXhr = R"JS(
(function () {
    const nativeFetch = window.fetch.bind(window);
    window.fetch = function (input, init) {
        const address = new URL(input instanceof Request ? input.url : String(input), document.baseURI);
        if (address.protocol !== "brindle:") return nativeFetch(input, init);
        return new Promise((resolve, reject) => {
            const xhr = new XMLHttpRequest();
            xhr.open("GET", address.href);
            xhr.responseType = "arraybuffer";
            xhr.onload = () => resolve(new Response(xhr.response, {
                status: 200,
                headers: { "Content-Type": xhr.getResponseHeader("Content-Type") || "" },
            }));
            xhr.onerror = () => reject(new TypeError("Failed to fetch " + address.href));
            xhr.send();
        });
    };
})();
)JS";

PlayerPage::PlayerPage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {
    QWebEngineScript shim;
    shim.setName(QStringLiteral("fetch-through-xhr"));
    shim.setInjectionPoint(QWebEngineScript::DocumentCreation);
    shim.setWorldId(QWebEngineScript::MainWorld);
    shim.setRunsOnSubFrames(true);
    shim.setSourceCode(QString::fromLatin1(kFetchThroughXhr));
    scripts().insert(shim);

    QWebEngineSettings* s = settings();
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    s->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    s->setDefaultTextEncoding(QStringLiteral("utf-8"));
}

bool PlayerPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool) {
    return url.scheme() == QLatin1String(viewer::kPlayerScheme);
}

void PlayerPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int,
                                          const QString&) {
    static const QString loaded = QStringLiteral("brindle:loaded ");
    static const QString failed = QStringLiteral("brindle:failed ");
    if (message.startsWith(loaded)) {
        emit movieLoaded(message.mid(loaded.size()).section(' ', 0, 0).toInt());
    } else if (message.startsWith(failed)) {
        QString rest = message.mid(failed.size());
        emit movieFailed(rest.section(' ', 0, 0).toInt(), rest.section(' ', 1));
    }
}
