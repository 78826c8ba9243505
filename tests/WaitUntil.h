#pragma once
// Waits for a condition while a real event loop runs. QTest::qWaitFor sleeps between its rounds of
// event processing, which starves a web view (its loading is driven from this thread) and makes a
// page take seconds to load.

#include <QEventLoop>
#include <QTimer>
#include <functional>

// True once condition holds; false when timeoutMs passed first.
inline bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 20000) {
    if (condition()) return true;
    QEventLoop loop;
    QTimer poll, limit;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (condition()) loop.quit();
    });
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    poll.start(5);
    limit.setSingleShot(true);
    limit.start(timeoutMs);
    loop.exec();
    return condition();
}

// Runs the event loop for ms milliseconds.
inline void runEventsFor(int ms) {
    waitUntil([] { return false; }, ms);
}
