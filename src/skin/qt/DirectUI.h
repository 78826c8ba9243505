#pragma once
// Turns a top-level widget into a skinned window: frameless, shaped with rounded corners, its whole
// client area painted from the skin (frame, caption buttons, icon, caption), with caption buttons
// that light, fade and act, moving by the caption, sizing by the borders and a system menu. The
// widget's child controls lie on top of the frame and keep their own input.
//
// Where no window manager takes over a move or a resize, the window follows the mouse by itself.

#include "skin/FrameHost.h"
#include "skin/FrameMouse.h"
#include "skin/ManualDrag.h"
#include "skin/qt/EventInterceptor.h"
#include "skin/qt/FrameRenderer.h"
#include "startup/IniFile.h"

#include <QBasicTimer>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <optional>

class QMenu;
class QWindow;

namespace skin {

class DirectUI : public QObject, private FrameHost, private EventInterceptor::Handler {
    Q_OBJECT
  public:
    explicit DirectUI(QObject* parent = nullptr);
    ~DirectUI() override;

    // Loads the skin <application folder>/Skin/<SkinNames>/ and takes over hwnd. Every step runs
    // even when an earlier one failed: missing pictures draw black, missing numbers keep 0. A second
    // call reloads the skin and draws the frame with it; it takes over no other window.
    void Skin(const QString& SkinNames, QWidget* hwnd);
    void Skin(const QString& SkinNames, QWidget* hwnd, const std::filesystem::path& applicationFolder);

    bool HelpButton() const { return mouse_.visible(3); }
    void setHelpButton(bool NewValue) { mouse_.setVisible(3, NewValue); }
    bool MaxButton() const { return mouse_.visible(1); }
    void setMaxButton(bool NewValue) { mouse_.setVisible(1, NewValue); }
    bool MinButton() const { return mouse_.visible(2); }
    void setMinButton(bool NewValue) { mouse_.setVisible(2, NewValue); }
    // Stored only.
    bool ControlBox() const { return controlBox_; }
    void setControlBox(bool NewValue) { controlBox_ = NewValue; }

    // Lays the frame out for the window's current size and redraws it; stops without drawing when
    // a caption-button key of Skin.ini is missing.
    void layout();
    // Composes the frame and shows it.
    void redraw();
    // Draws the window's new caption (title and icon) into the frame and shows it.
    void redrawCaption();
    // The skin folder (with the application folder and skin name) and what the window shows.
    const std::filesystem::path& skinFolder() const { return skinFolder_; }
    const Surface& frontSurface() const { return renderer_.front(); }
    const FrameLayout& frameLayout() const { return mouse_.layout(); }
    const SkinValues& skinValues() const { return renderer_.values(); }
    FrameMouse& mouse() { return mouse_; }
    // The window commands of the system menu, enabled as the window's state allows.
    QMenu* makeSystemMenu(QWidget* parent);
    void toggleMaximised() override;
    // Minimises the window; a window still on screen a second later gets its state back.
    void minimise();

  signals:
    // A caption button was clicked (0 close, 1 maximise or restore, 2 minimise, 3 skin menu), before
    // its action; MenuX, MenuY are the button's left and bottom. Setting Cancel stops the action.
    // Connect directly: the arguments are references.
    void ControlButtonClick(int& ButtonIndex, int& MenuX, int& MenuY, bool& Cancel);

  protected:
    void timerEvent(QTimerEvent* event) override;
    // Moves over the window's child widgets, seen on the platform window.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool attach(QWidget* window);
    void watchPlatformWindow();
    std::string readMain(std::string_view key);
    void zSubclass_Proc(bool bBefore, bool& bHandled, bool& lReturn, QObject* lhWnd, QEvent* event) override;
    bool mouseEvent(QEvent* event);
    static int buttonCode(Qt::MouseButton button);
    Rect workArea() const;
    void undoUnheededMinimise();

    // FrameHost
    bool isMaximised() const override;
    bool hasIcon() const override;
    void captureMouse() override;
    void releaseMouse() override;
    void setCursor(FrameCursor cursor) override;
    void startSizing(BorderZone zone) override;
    void startMoving() override;
    void showSystemMenu() override;
    void buttonClicked(int index, int menuX, int menuY) override;
    void startFadeTimer() override;
    void stopFadeTimer() override;
    void blendButton(int index, int state, int level) override;
    void presentFront() override;

    QPointer<QWidget> window_;
    QPointer<QWindow> platformWindow_;
    std::filesystem::path skinFolder_;
    IniFile ini_;
    FrameRenderer renderer_;
    FrameMouse mouse_;
    std::optional<ButtonKeys> keys_;
    EventInterceptor interceptor_;
    QBasicTimer fade_;
    bool controlBox_ = true;
    // How long a window manager gets to hide a minimised window.
    static constexpr int MinimiseCheckMs = 1000;
    // The window's geometry before it was maximised.
    QRect normalGeometry_;
    QSize laidOut_; // the window size layout() last drew the frame for
    // A move or resize the window does itself because no window manager took it.
    std::optional<ManualDrag> drag_;
    QPointF lastGlobal_;
    // Whether the frame chose a cursor while handling the current mouse move.
    bool cursorSet_ = false;
};

} // namespace skin
