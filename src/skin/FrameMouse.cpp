#include "skin/FrameMouse.h"

namespace skin {

void FrameMouse::setVisible(int index, bool visible) {
    if (index > 0 && index < Count) visible_[index] = visible;
}

FrameCursor FrameMouse::cursorFor(BorderZone zone) {
    switch (zone) {
    case BorderZone::TopLeft:
    case BorderZone::BottomRight:
        return FrameCursor::DiagonalDown;
    case BorderZone::TopRight:
    case BorderZone::BottomLeft:
        return FrameCursor::DiagonalUp;
    case BorderZone::Left:
    case BorderZone::Right:
        return FrameCursor::Horizontal;
    case BorderZone::Top:
    case BorderZone::Bottom:
        return FrameCursor::Vertical;
    case BorderZone::None:
        break;
    }
    return FrameCursor::Arrow;
}

void FrameMouse::setButton(int index, int state, int level) {
    state_[index] = state;
    level_[index] = level;
}

void FrameMouse::mouseDown(int button, double x, double y) {
    host_.captureMouse();
    captureArea_ = layout_.areaAt(x, y);
    if (captureArea_ == FrameArea::Band)
        bandPress(button, x, y);
    else if (captureArea_ == FrameArea::Frame)
        framePress(button, x, y);
}

void FrameMouse::bandPress(int button, double x, double y) {
    if (button != Left) return;
    int hit = layout_.buttonAt(x, y, visible_);
    if (hit < 0) return;
    pressed_ = hit;
    setButton(hit, 2, 100);
    host_.startFadeTimer();
}

void FrameMouse::framePress(int button, double x, double y) {
    if (canSize()) {
        BorderZone zone = layout_.borderAt(x, y);
        host_.setCursor(cursorFor(zone));
        if (zone != BorderZone::None) {
            if (button == Left) {
                captureArea_ = FrameArea::None;
                host_.releaseMouse();
                host_.startSizing(zone);
            }
            return;
        }
    }
    if (!layout_.caption.contains(x, y) || button != Left) return;
    if (host_.hasIcon() && layout_.inIconBox(x, y)) {
        host_.showSystemMenu();
        return;
    }
    captureArea_ = FrameArea::None;
    host_.releaseMouse();
    host_.startMoving();
}

void FrameMouse::mouseMove(int button, double x, double y) {
    switch (captureArea_) {
    case FrameArea::Band:
        bandHover(button, x, y);
        return;
    case FrameArea::Content:
        return;
    case FrameArea::Frame:
        frameCursor(x, y);
        return;
    case FrameArea::None:
        break;
    }
    FrameArea area = layout_.areaAt(x, y);
    if (area == FrameArea::Band) {
        hoverArea_ = FrameArea::Band;
        bandHover(button, x, y);
        return;
    }
    if (hoverArea_ == FrameArea::Band) resetButtons();
    hoverArea_ = area;
    if (area == FrameArea::Frame) frameCursor(x, y);
}

void FrameMouse::bandHover(int button, double x, double y) {
    if (button == Left) return;
    int hit = layout_.buttonAt(x, y, visible_);
    if (hit < 0 || hit == hovered_) return;
    setButton(hit, 1, 15);
    if (hovered_ >= 0) setButton(hovered_, 0, 0);
    hovered_ = hit;
    host_.startFadeTimer();
}

void FrameMouse::frameCursor(double x, double y) {
    if (canSize()) host_.setCursor(cursorFor(layout_.borderAt(x, y)));
}

void FrameMouse::resetButtons() {
    for (int i = 0; i < Count; ++i)
        setButton(i, 0, 0);
    hovered_ = -1;
    host_.startFadeTimer();
}

void FrameMouse::mouseUp(int button, double x, double y) {
    host_.releaseMouse();
    FrameArea area = captureArea_;
    captureArea_ = FrameArea::None;
    // The click's action comes last: it may close the window and end this object.
    if (area == FrameArea::Band)
        bandClick(button, x, y);
    else if (area == FrameArea::Frame)
        frameRelease(button, x, y);
}

void FrameMouse::bandClick(int button, double x, double y) {
    if (button != Left || pressed_ < 0) return;
    int index = pressed_;
    bool hit = layout_.buttons[index].contains(x, y);
    setButton(index, 0, 0);
    pressed_ = -1;
    host_.startFadeTimer();
    if (hit) host_.buttonClicked(index, layout_.buttons[index].left, layout_.buttons[index].bottom);
}

void FrameMouse::frameRelease(int button, double x, double y) {
    if (layout_.caption.contains(x, y)) {
        if (button == Right) host_.showSystemMenu();
    } else if (host_.isMaximised() && y <= 31) {
        host_.showSystemMenu();
    }
}

void FrameMouse::doubleClick(int button, double x, double y) {
    if (layout_.band.contains(x, y)) return;
    if (button == Left && layout_.caption.contains(x, y)) host_.toggleMaximised();
}

void FrameMouse::mouseLeave() {
    if (hoverArea_ == FrameArea::Band) resetButtons();
    hoverArea_ = FrameArea::None;
}

bool FrameMouse::fadeTick() {
    bool fading = false;
    for (int i = 0; i < Count; ++i) {
        if (!visible_[i] || level_[i] >= FadeDone) continue;
        ++level_[i];
        host_.blendButton(i, state_[i], level_[i]);
        fading = true;
    }
    host_.presentFront();
    if (!fading) host_.stopFadeTimer();
    return fading;
}

} // namespace skin
