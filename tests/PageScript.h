#pragma once
// Runs scripts in a web page for tests and waits for their results while the event loop runs.

#include "WaitUntil.h"

#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineScript>

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
