#include "skin/qt/EventInterceptor.h"

#include <QCoreApplication>
#include <QTimerEvent>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace skin;

namespace {

// Logs its own timer events; the handler logs what it sees and may keep events from the object.
struct Window : QObject {
    std::vector<std::string>* log;
    explicit Window(std::vector<std::string>* l) : log(l) {}
    bool event(QEvent* e) override {
        if (e->type() == QEvent::Timer) {
            log->push_back("window");
            return true;
        }
        return QObject::event(e);
    }
};

struct Recorder : EventInterceptor::Handler {
    std::vector<std::string>* log;
    bool handle = false;
    explicit Recorder(std::vector<std::string>* l) : log(l) {}
    void zSubclass_Proc(bool bBefore, bool& bHandled, bool& lReturn, QObject*, QEvent*) override {
        log->push_back(bBefore ? "before" : lReturn ? "after:true" : "after:false");
        bHandled = handle;
    }
};

void sendTimer(QObject* to) {
    QTimerEvent e(1);
    QCoreApplication::sendEvent(to, &e);
}

} // namespace

TEST(EventInterceptor, BeforeAndAfterListsRunAroundTheWindowsOwnHandling) {
    std::vector<std::string> log;
    Window window(&log);
    Recorder recorder(&log);
    EventInterceptor interceptor(recorder);
    interceptor.intercept(&window);

    sendTimer(&window); // not listed: untouched
    EXPECT_EQ(log, (std::vector<std::string>{"window"}));

    log.clear();
    interceptor.addMessage(&window, QEvent::Timer, EventInterceptor::After);
    sendTimer(&window);
    EXPECT_EQ(log, (std::vector<std::string>{"window", "after:true"}));

    log.clear();
    interceptor.addMessage(&window, QEvent::Timer, EventInterceptor::Before);
    recorder.handle = true; // handled before: the window never sees it
    sendTimer(&window);
    EXPECT_EQ(log, (std::vector<std::string>{"before"}));

    log.clear();
    recorder.handle = false;
    sendTimer(&window);
    EXPECT_EQ(log, (std::vector<std::string>{"before", "window", "after:true"}));

    log.clear();
    interceptor.removeMessage(&window, QEvent::Timer, EventInterceptor::BeforeAndAfter);
    sendTimer(&window);
    interceptor.addMessage(&window, QEvent::Timer, EventInterceptor::Before);
    interceptor.removeAll();
    sendTimer(&window);
    EXPECT_EQ(log, (std::vector<std::string>{"window", "window"}));
}
