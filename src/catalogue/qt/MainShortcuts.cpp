#include "catalogue/qt/MainShortcuts.h"

#include "skin/qt/SSTab.h"

#include <QLineEdit>
#include <QShortcut>

namespace {

constexpr int AreaCount = 8;

} // namespace

MainShortcuts::MainShortcuts(QWidget* window, QLineEdit* searchBox, skin::SSTab* areas,
                             std::function<void()> reload, std::function<void()> showLibrary)
    : QObject(window) {
    const auto add = [window](const QKeySequence& keys, auto&& action) {
        auto* shortcut = new QShortcut(keys, window);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, window, std::forward<decltype(action)>(action));
    };
    const auto search = [searchBox] {
        searchBox->setFocus(Qt::ShortcutFocusReason);
        searchBox->selectAll();
    };
    add(QKeySequence(Qt::CTRL | Qt::Key_F), search);
    // A line edit claims the keys that type text, so "/" in the search box types a slash.
    add(QKeySequence(Qt::Key_Slash), search);
    for (int i = 0; i < AreaCount; ++i)
        add(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + i)),
            [areas, i] { areas->setCurrentTab(i); });
    add(QKeySequence(Qt::Key_F5), std::move(reload));
    add(QKeySequence(Qt::CTRL | Qt::Key_H), std::move(showLibrary));
}
