#include "viewer/qt/PlayerPage.h"

#include "viewer/PlayerFiles.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

// Qt 6.4's fetch() cannot read a custom scheme, while XHR can; Ruffle fetches its .wasm, the movie
// and what the movie loads, so fetches of the player's scheme are answered through XHR. The answer
// carries the address it came from, as a fetched one does: Ruffle takes the movie's own address
// (for its shared objects, relative loads, loaderInfo.url and the query's parameters) from there.
static const char* const kFetchThroughXhr = R"JS(
(function () {
    const nativeFetch = window.fetch.bind(window);
    window.fetch = function (input, init) {
        const request = input instanceof Request ? input : null;
        const address = new URL(request ? request.url : String(input), document.baseURI);
        if (address.protocol !== "brindle:") return nativeFetch(input, init);
        const method = ((init && init.method) || (request && request.method) || "GET").toUpperCase();
        if (method !== "GET") return Promise.reject(new TypeError("Only GET reaches " + address.href));
        return new Promise((resolve, reject) => {
            const xhr = new XMLHttpRequest();
            xhr.open("GET", address.href);
            xhr.responseType = "arraybuffer";
            xhr.onload = () => {
                const response = new Response(xhr.response, {
                    status: xhr.status || 200,
                    headers: { "Content-Type": xhr.getResponseHeader("Content-Type") || "" },
                });
                Object.defineProperty(response, "url", { value: xhr.responseURL || address.href });
                resolve(response);
            };
            xhr.onerror = () => reject(new TypeError("Failed to fetch " + address.href));
            xhr.send();
        });
    };
})();
)JS";

QUrl PlayerPage::pageUrl() {
    QUrl url;
    url.setScheme(QString::fromLatin1(viewer::kPlayerScheme.data(), viewer::kPlayerScheme.size()));
    url.setHost(QString::fromLatin1(viewer::kPlayerHost.data(), viewer::kPlayerHost.size()));
    url.setPath(QStringLiteral("/player/player.html"));
    return url;
}

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

    // The new window itself is never made: not adopting the request refuses it.
    connect(this, &QWebEnginePage::newWindowRequested, this, [this](QWebEngineNewWindowRequest& request) {
        if (request.isUserInitiated()) emit linkOpened(request.requestedUrl());
    });
}

// A movie's link to its own window ("_self", "_top", no target) would take the player away.
bool PlayerPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool) {
    return url.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment) == pageUrl();
}

void PlayerPage::reportChange(const QJsonObject& change) {
    const QString key = change.value(QStringLiteral("key")).toString();
    const QJsonValue value = change.value(QStringLiteral("value"));
    if (key.isEmpty() || !(value.isString() || value.isNull())) return;
    // Ruffle stores the .sol bytes in base64; anything else is no save.
    const auto bytes =
        QByteArray::fromBase64Encoding(value.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (value.isString() && !bytes) return;
    emit saveChanged(change.value(QStringLiteral("token")).toInt(), key, *bytes, value.isNull());
}

void PlayerPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int,
                                          const QString&) {
    static const QString loaded = QStringLiteral("brindle:loaded ");
    static const QString failed = QStringLiteral("brindle:failed ");
    static const QString drawn = QStringLiteral("brindle:drawn ");
    static const QString save = QStringLiteral("brindle:save ");
    static const QString stopped = QStringLiteral("brindle:stopped ");
    static const QString refused = QStringLiteral("brindle:refused ");
    static const QString quit = QStringLiteral("brindle:quit ");
    static const QString fullScreen = QStringLiteral("brindle:fullscreen ");
    if (message.startsWith(save)) {
        reportChange(QJsonDocument::fromJson(message.mid(save.size()).toUtf8()).object());
    } else if (message.startsWith(stopped)) {
        if (const int token = message.mid(stopped.size()).toInt()) emit movieStopped(token);
    } else if (message.startsWith(refused)) {
        emit saveRefused(message.mid(refused.size()).toInt());
    } else if (message.startsWith(loaded)) {
        emit movieLoaded(message.mid(loaded.size()).section(' ', 0, 0).toInt());
    } else if (message.startsWith(failed)) {
        QString rest = message.mid(failed.size());
        emit movieFailed(rest.section(' ', 0, 0).toInt(), rest.section(' ', 1));
    } else if (message.startsWith(drawn)) {
        emit movieDrawn(message.mid(drawn.size()).toInt());
    } else if (message.startsWith(quit)) {
        emit movieQuit(message.mid(quit.size()).toInt());
    } else if (message.startsWith(fullScreen)) {
        const QString rest = message.mid(fullScreen.size());
        emit movieFullScreen(rest.section(' ', 0, 0).toInt(), rest.section(' ', 1) == QLatin1String("true"));
    } else if (message == QLatin1String("brindle:warm")) {
        emit warm();
    }
}
