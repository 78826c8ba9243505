#pragma once
// Runs scripts in a web page for tests and waits for their results while the event loop runs.

#include "WaitUntil.h"

#include <QTest>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

// The result of script in page once it has run; an invalid value when it did not run in time. The
// application's world reaches the document also where the page's own scripts are off.
inline QVariant evaluate(QWebEnginePage& page, const QString& script,
                         quint32 world = QWebEngineScript::MainWorld, int timeoutMs = 10000) {
    QVariant result;
    bool done = false;
    page.runJavaScript(script, world, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    waitUntil([&] { return done; }, timeoutMs);
    return result;
}

// Polls script until it gives true (the page's own scripts run asynchronously).
inline bool waitForScript(QWebEnginePage& page, const QString& script,
                          quint32 world = QWebEngineScript::MainWorld, int timeoutMs = 10000) {
    return waitUntil([&] { return evaluate(page, script, world).toBool(); }, timeoutMs);
}

// Right-clicks view at point and waits until its page has handled the click; false when the click
// did not reach the page in time. The page asks for its context menu while it handles its
// contextmenu event, on the channel that later carries a script's result, so once a script has
// seen the event, any menu has been asked for.
inline bool rightClickReachesPage(QWebEngineView& view, QPoint point) {
    constexpr quint32 world = QWebEngineScript::ApplicationWorld; // also where the page's scripts are off
    evaluate(*view.page(),
             "window.contextMenus = 0; document.addEventListener('contextmenu', () => "
             "++window.contextMenus); true",
             world);
    QTest::mouseClick(view.focusProxy() ? view.focusProxy() : &view, Qt::RightButton, {}, point);
    return waitForScript(*view.page(), "window.contextMenus > 0", world);
}
