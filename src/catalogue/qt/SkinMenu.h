#pragma once
// The skin menu GameNameStr: the heading "皮肤列表" and one item per entry of the Skin folder, the
// current skin checked, popped up at the mouse by the frame's skin button. Choosing another skin
// changes the settings and the page cache, then closes the window; the program starts again with
// the new skin once this instance has ended. When the page colour changed, the page cache is
// emptied and its home page rebuilt from the store first, on a thread of its own so that the window
// keeps painting meanwhile. A
// settings file that cannot be written stops the change with a message, before anything is deleted
// or restarted.

#include "catalogue/SkinChange.h"

#include <QMenu>
#include <QPointer>
#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

class QThread;

class SkinMenu : public QMenu {
    Q_OBJECT
  public:
    static const QString NotWrittenMessage;
    static const QString NotASkinMessage;

    // window: the catalogue window, closed for the restart and parent of the menu; program: the
    // program to start again (the application folder's copy of this one).
    SkinMenu(QWidget* window, SkinChange change, std::filesystem::path program);
    // Stops a home page rebuild that is still waiting on the store.
    ~SkinMenu() override;

    // Fills the menu from skinFolder, checking currentSkin's item.
    void fill(const std::filesystem::path& skinFolder, const std::string& currentSkin);
    // Opens the menu at the mouse position.
    void popupAtMouse();
    // What choosing item index does (0 is the heading).
    void itemClicked(int index);

  signals:
    // The page cache is about to be emptied and rebuilt in the new page colour: whatever builds
    // pages of the old colour must stop now (connect directly).
    void pageCacheRefreshing();
    // The skin change is done and the window closes; program starts once this instance has ended.
    void restartRequested(const QString& skinName);

  private:
    void restart(const QString& skinName);

    SkinChange change_;
    std::vector<std::string> captions_; // item captions as listed (an action's text escapes "&")
    std::filesystem::path program_;
    QPointer<QWidget> window_;
    QThread* rebuild_ = nullptr; // the home page rebuild of a change under way
    std::atomic<bool> cancel_{false};
};
