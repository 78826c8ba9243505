#pragma once
// Takes over chosen events of windows: an event in a window's before-list goes to the handler first
// and reaches the window only when the handler leaves it unhandled; an event in the after-list
// reaches the window first, then the handler, which sees and may change the window's result. Other
// events pass untouched. Removing the interception restores plain delivery.

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <set>
#include <vector>

namespace skin {

class EventInterceptor : public QObject {
  public:
    enum When { After = 1, Before = 2, BeforeAndAfter = 3 };

    class Handler {
      public:
        virtual ~Handler() = default;
        // bBefore: called before the window's own handling. Setting bHandled (before-list) keeps the
        // event from the window, with lReturn as its result.
        virtual void zSubclass_Proc(bool bBefore, bool& bHandled, bool& lReturn, QObject* lhWnd,
                                    QEvent* event) = 0;
    };

    explicit EventInterceptor(Handler& handler) : handler_(handler) {}
    ~EventInterceptor() override { removeAll(); }

    void intercept(QObject* window);
    void addMessage(QObject* window, QEvent::Type type, When when);
    void removeMessage(QObject* window, QEvent::Type type, When when);
    // Restores plain delivery to every intercepted window.
    void removeAll();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Entry {
        QPointer<QObject> window;
        std::set<QEvent::Type> before;
        std::set<QEvent::Type> after;
    };
    Entry* find(QObject* window);

    Handler& handler_;
    std::vector<Entry> entries_;
};

} // namespace skin
