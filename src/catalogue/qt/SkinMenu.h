#pragma once
// The skin menu GameNameStr: the heading "皮肤列表" and one item per entry of the Skin folder, the
// current skin checked, popped up at the mouse by the frame's skin button. Choosing another skin
// changes the settings and the page cache, then closes the window; the program starts again with
// the new skin once this instance has ended. A settings file that cannot be written stops the
// change with a message, before anything is deleted or restarted.

#include "catalogue/SkinChange.h"

#include <QMenu>
#include <QPointer>
#include <filesystem>
#include <string>
#include <vector>

class SkinMenu : public QMenu {
    Q_OBJECT
  public:
    static const QString NotWrittenMessage;

    // window: the catalogue window, closed for the restart and parent of the menu; program: the
    // program to start again (the application folder's copy of this one).
    SkinMenu(QWidget* window, SkinChange change, std::filesystem::path program);

    // Fills the menu from skinFolder, checking currentSkin's item.
    void fill(const std::filesystem::path& skinFolder, const std::string& currentSkin);
    // Opens the menu at the mouse position.
    void popupAtMouse();
    // What choosing item index does (0 is the heading).
    void itemClicked(int index);

  signals:
    // The skin change is done and the window closes; program starts once this instance has ended.
    void restartRequested(const QString& skinName);

  private:
    SkinChange change_;
    std::vector<std::string> captions_; // item captions as listed (an action's text escapes "&")
    std::filesystem::path program_;
    QPointer<QWidget> window_;
};
