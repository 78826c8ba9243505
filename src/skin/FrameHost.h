#pragma once
// What the frame's mouse behaviour asks of the window it runs on. The Qt layer implements it; tests
// record the calls.

#include "skin/FrameLayout.h"

namespace skin {

enum class FrameCursor { Arrow, DiagonalDown, DiagonalUp, Horizontal, Vertical };

class FrameHost {
  public:
    virtual ~FrameHost() = default;

    virtual bool isMaximised() const = 0;
    virtual bool hasIcon() const = 0;

    virtual void captureMouse() = 0;
    virtual void releaseMouse() = 0;
    virtual void setCursor(FrameCursor cursor) = 0;
    // Hand the mouse to the platform (or the fallback drag) to size by a border or move by the caption.
    virtual void startSizing(BorderZone zone) = 0;
    virtual void startMoving() = 0;
    virtual void showSystemMenu() = 0;
    virtual void toggleMaximised() = 0;
    // A caption button was clicked: raise ControlButtonClick and, unless cancelled, act.
    virtual void buttonClicked(int index, int menuX, int menuY) = 0;

    virtual void startFadeTimer() = 0;
    virtual void stopFadeTimer() = 0;
    // Blend the image of button index in state over the front surface with strength level.
    virtual void blendButton(int index, int state, int level) = 0;
    // Copy the front surface to the window.
    virtual void presentFront() = 0;
};

} // namespace skin
