#pragma once
// The tab row of a skinned tab control, without its drawing: the tab size rules, where each tab
// lies, which tab the mouse lights, what a press does, and which part of the skin's Tab.bmp each tab
// is drawn from. CSSTab feeds it the control's mouse positions and draws what it says.
//
// All tabs share one row from the left edge, TabWidth apart; the row is TabHeight high and a point
// with y == TabHeight still counts as inside it.

#include "skin/TabMDCNineGrid.h"

#include <cstdint>
#include <functional>

namespace skin {

// Where a tab's picture comes from in Tab.bmp and how it is cut.
struct TabImage {
    int sx, sy, sw, sh;
    NineGridMargins margins;
    friend bool operator==(const TabImage&, const TabImage&) = default;
};

class TabStrip {
  public:
    static constexpr int MinimumTabSize = 3;
    static constexpr int DefaultTabWidth = 70;
    static constexpr int DefaultTabHeight = 20;
    // Tab.bmp: three 13 x 27 images side by side (hovered, current, current and hovered); the first
    // column of the first image is the background and the look of every other tab.
    static constexpr int ImageWidth = 13;
    static constexpr int ImageHeight = 27;
    // A tab's picture sits at this offset in the tab; a tab with a picture centres its caption in a
    // rectangle this much taller, so the caption sits under the picture.
    static constexpr int PictureX = 17;
    static constexpr int PictureY = 8;
    static constexpr int PictureSize = 48;
    static constexpr int PictureCaptionDrop = 52;

    int tabWidth() const { return tabWidth_; }
    int tabHeight() const { return tabHeight_; }
    // Store the value raised to MinimumTabSize; true when the stored value changed, so the row needs
    // a redraw. Writing the value already held does nothing.
    bool setTabWidth(int width);
    bool setTabHeight(int height);

    // Left edge of tab index; 64 bits so that absurd widths cannot overflow.
    std::int64_t tabLeft(int index) const { return std::int64_t(index) * tabWidth_; }
    // The tab of `count` tabs under (x, y), or -1 when the point is outside the row or beyond the
    // last tab. Points left of the row hit nothing (not tab 0).
    int tabAt(int x, int y, int count) const;

    // The lit tab, -1 for none.
    int hoveredTab() const { return hovered_; }
    // The mouse moved to (x, y) over a control with `count` tabs; true when the lit tab changed. Any
    // tab is lit, hidden or not (a hidden tab is not drawn, so lighting it shows nothing).
    bool mouseMove(int x, int y, int count);
    // The mouse left the control; true when a tab was lit.
    bool clearHover();

    struct Press {
        int select = -1;    // tab to make current, -1 for none
        bool focus = false; // give the control the keyboard focus
        friend bool operator==(const Press&, const Press&) = default;
    };
    // A press with button code (1 left, 2 right, 3 middle) at (x, y). Only a left press in the row
    // acts: on a visible tab it selects it and focuses the control, beyond the tabs it only focuses,
    // and on a hidden tab it does nothing at all.
    Press press(int button, int x, int y, int count, const std::function<bool(int)>& tabVisible) const;

    // The image of a tab in Tab.bmp: the current tab (hovered or not) and a hovered other tab as
    // nine-grids with 7-pixel margins, every other tab as the background column.
    static TabImage imageOf(bool current, bool hovered);
    // The background column, drawn over the whole row width.
    static TabImage backgroundImage();

    // The low and high 16-bit halves of a packed mouse position, each as a signed number.
    static std::int16_t loWord(std::int32_t dword);
    static std::int16_t hiWord(std::int32_t dword);

  private:
    bool inRow(int y) const { return y >= 0 && y <= tabHeight_; }

    int tabWidth_ = DefaultTabWidth;
    int tabHeight_ = DefaultTabHeight;
    int hovered_ = -1;
};

} // namespace skin
