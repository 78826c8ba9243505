#pragma once
// The caption buttons' states and fades, and what mouse presses, moves, releases and double clicks
// do on a skinned frame: light and press buttons, size by the borders, move by the caption, open the
// system menu. Points are client pixels; button codes are 0 none, 1 left, 2 right, 3 middle.

#include "skin/FrameHost.h"
#include "skin/FrameLayout.h"

#include <array>

namespace skin {

class FrameMouse {
  public:
    static constexpr int Count = FrameLayout::ButtonCount;
    static constexpr int FadeDone = 255;

    enum Button { None = 0, Left = 1, Right = 2, Middle = 3 };

    explicit FrameMouse(FrameHost& host) : host_(host) {}

    void setLayout(const FrameLayout& layout) { layout_ = layout; }
    const FrameLayout& layout() const { return layout_; }
    void setSizable(bool sizable) { sizable_ = sizable; }
    bool sizable() const { return sizable_; }
    // Buttons 1..3 (MaxButton, MinButton, HelpButton); button 0 is always visible.
    void setVisible(int index, bool visible);
    bool visible(int index) const { return visible_[index]; }
    const std::array<bool, Count>& visibleFlags() const { return visible_; }

    int state(int index) const { return state_[index]; }
    int level(int index) const { return level_[index]; }
    int hovered() const { return hovered_; }
    int pressed() const { return pressed_; }
    FrameArea hoverArea() const { return hoverArea_; }
    FrameArea captureArea() const { return captureArea_; }

    void mouseDown(int button, double x, double y);
    void mouseMove(int button, double x, double y);
    void mouseUp(int button, double x, double y);
    void doubleClick(int button, double x, double y);
    void mouseLeave();
    // One step of the fade: every visible button below 255 goes one level up and is blended again.
    // Returns whether a button was still fading (the timer is stopped otherwise).
    bool fadeTick();

    // The cursor of a border zone (arrow for none).
    static FrameCursor cursorFor(BorderZone zone);

  private:
    bool canSize() const { return sizable_ && !host_.isMaximised(); }
    void bandPress(int button, double x, double y);
    void framePress(int button, double x, double y);
    void bandHover(int button, double x, double y);
    void bandClick(int button, double x, double y);
    void frameRelease(int button, double x, double y);
    void frameCursor(double x, double y);
    void resetButtons();
    void setButton(int index, int state, int level);

    FrameHost& host_;
    FrameLayout layout_;
    bool sizable_ = false;
    std::array<bool, Count> visible_{true, true, true, true};
    std::array<int, Count> state_{};
    std::array<int, Count> level_{FadeDone, FadeDone, FadeDone, FadeDone};
    int hovered_ = -1;
    int pressed_ = -1;
    FrameArea hoverArea_ = FrameArea::None;
    FrameArea captureArea_ = FrameArea::None;
};

} // namespace skin
