#include "web/qt/WebBrowser.h"

#include "base/Twips.h"
#include "web/qt/WebBrowserPage.h"

#include <QWebEngineSettings>

WebBrowser::WebBrowser(QWebEngineProfile* profile, QWidget* parent) : QWebEngineView(parent) {
    setPage(new WebBrowserPage(profile, *this));
    setContextMenuPolicy(Qt::NoContextMenu);
    connect(this, &QWebEngineView::loadStarted, this, [this] { busy_ = true; });
    connect(this, &QWebEngineView::loadFinished, this, [this](bool ok) {
        busy_ = false;
        emit DownloadComplete();
        if (ok) emit DocumentComplete(url());
    });
}

void WebBrowser::Navigate(const QString& addressOrLocalPath) {
    const QUrl address(addressOrLocalPath);
    // A drive letter is no scheme; a path without one is a local file.
    const bool hasScheme = address.isValid() && address.scheme().size() > 1;
    // Busy from here on, as the engine reports the start of the load only later.
    busy_ = true;
    load(hasScheme ? address : QUrl::fromLocalFile(addressOrLocalPath));
}

void WebBrowser::Move(int leftTw, int topTw, int widthTw, int heightTw) {
    setGeometry(base::twipsToPixels(leftTw), base::twipsToPixels(topTw), base::twipsToPixels(widthTw),
                base::twipsToPixels(heightTw));
}

void WebBrowser::setScriptsEnabled(bool enabled) {
    page()->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, enabled);
}
