#include "web/qt/WebBrowserPage.h"

#include "web/qt/WebBrowser.h"

#include <QWebEngineNewWindowRequest>
#include <QWebEngineSettings>

WebBrowserPage::WebBrowserPage(QWebEngineProfile* profile, WebBrowser& view)
    : QWebEnginePage(profile, &view), view_(view) {
    // Local pages hold store content: they must not read other local files. Their style sheet and
    // pictures come from the store over http, which stays allowed.
    settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    // A script's window.open reaches newWindowRequested too (and is refused there), so the owner
    // learns the address of an app opened by script as well as by a link.
    settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
    // Generated pages carry no charset tag and are UTF-8.
    settings()->setDefaultTextEncoding(QStringLiteral("utf-8"));
    // Not calling openIn() refuses the window; the owner decides what the address leads to.
    connect(this, &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest& request) { emit view_.NewWindow3(request.requestedUrl()); });
}

bool WebBrowserPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) {
    if (!isMainFrame) return true;
    bool cancel = false;
    emit view_.BeforeNavigate2(url, cancel);
    return !cancel;
}
