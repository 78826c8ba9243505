#pragma once
// The catalogue window's keys, active wherever the focus is in the window:
// - Ctrl+F or "/" puts the cursor in the search box with its text selected, so typing replaces it;
// - Ctrl+1 to Ctrl+8 choose the eight areas of the main tab strip, as a click on the tab does;
// - F5 shows the current area's page again: a cached page from the cache, a page missing there (one
//   that could not be built while the store was away) built anew from the store;
// - Ctrl+H shows the 我的游戏 page.
// A key that types text where the focus is, such as "/" in the search box, types it there instead.

#include <QObject>
#include <functional>

class QLineEdit;
class QWidget;
namespace skin {
class SSTab;
}

class MainShortcuts : public QObject {
    Q_OBJECT
  public:
    MainShortcuts(QWidget* window, QLineEdit* searchBox, skin::SSTab* areas, std::function<void()> reload,
                  std::function<void()> showLibrary);
};
