#include "skin/qt/EventInterceptor.h"

#include <algorithm>

namespace skin {

EventInterceptor::Entry* EventInterceptor::find(QObject* window) {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [window](const Entry& e) { return e.window == window; });
    return it == entries_.end() ? nullptr : &*it;
}

void EventInterceptor::intercept(QObject* window) {
    if (!window || find(window)) return;
    entries_.push_back({window, {}, {}});
    window->installEventFilter(this);
}

void EventInterceptor::addMessage(QObject* window, QEvent::Type type, When when) {
    Entry* entry = find(window);
    if (!entry) return;
    if (when & Before) entry->before.insert(type);
    if (when & After) entry->after.insert(type);
}

void EventInterceptor::removeMessage(QObject* window, QEvent::Type type, When when) {
    Entry* entry = find(window);
    if (!entry) return;
    if (when & Before) entry->before.erase(type);
    if (when & After) entry->after.erase(type);
}

void EventInterceptor::removeAll() {
    for (Entry& entry : entries_)
        if (entry.window) entry.window->removeEventFilter(this);
    entries_.clear();
}

bool EventInterceptor::eventFilter(QObject* watched, QEvent* event) {
    Entry* entry = find(watched);
    if (!entry) return false;
    const QEvent::Type type = event->type();
    const bool before = entry->before.count(type) > 0;
    const bool after = entry->after.count(type) > 0;
    if (!before && !after) return false;

    QPointer<QObject> window = watched;
    if (before) {
        bool handled = false;
        bool result = false;
        handler_.zSubclass_Proc(true, handled, result, watched, event);
        if (handled || !window) return true;
        if (!after) return false;
    }
    // After-list: the window's own handling runs here, then the handler sees its result. The
    // event is then consumed, so the window does not get it twice.
    bool result = watched->event(event);
    if (!window) return true;
    bool handled = false;
    handler_.zSubclass_Proc(false, handled, result, watched, event);
    return true;
}

} // namespace skin
