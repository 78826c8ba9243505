#pragma once
// Every rectangle of a skinned frame of W x H client pixels: what drawing and mouse handling use.

#include "skin/Rect.h"
#include "skin/SkinValues.h"

#include <array>

namespace skin {

// Where a mouse point is, in the order the frame tests it.
enum class FrameArea { None = -1, Frame = 1, Content = 2, Band = 3 };

// The border zones 0..7: top-left, top, top-right, left, right, bottom-left, bottom, bottom-right.
enum class BorderZone { None = -1, TopLeft, Top, TopRight, Left, Right, BottomLeft, Bottom, BottomRight };

// Size limits of the window, as the platform's min-max record holds them.
struct SizeLimits {
    int maxWidth = 0, maxHeight = 0; // maximised size, also the largest tracking size
    int maxLeft = 0, maxTop = 0;     // maximised position
    int minWidth = 0, minHeight = 0; // smallest tracking size
};

struct FrameLayout {
    static constexpr int ButtonCount = 4;

    int width = 0;  // W
    int height = 0; // H
    Rect content;
    Rect caption;
    std::array<Rect, ButtonCount> buttons; // close, maximise/restore, minimise, skin menu
    Rect band;
    std::array<Rect, 8> borders;

    static FrameLayout compute(int W, int H, const ButtonKeys& keys);

    // The caption text rectangle for text of height cy, left of the button band.
    Rect captionText(bool hasIcon, int cy) const;

    // The button band first, then the content rectangle, else the frame.
    FrameArea areaAt(double x, double y) const;
    BorderZone borderAt(double x, double y) const;
    // The first visible button holding the point, tested 3, 2, 1, 0; -1 for none.
    int buttonAt(double x, double y, const std::array<bool, ButtonCount>& visible) const;
    // The icon box of the caption: 16 pixels from the caption's left, y from 7.5 to 23.5.
    bool inIconBox(double x, double y) const;

    // Limits from the desktop work area and the frame thickness b.
    SizeLimits sizeLimits(const Rect& workArea, int b) const;
};

} // namespace skin
