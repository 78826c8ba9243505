#include "skin/FrameLayout.h"

#include "base/Numbers.h"

namespace skin {

FrameLayout FrameLayout::compute(int W, int H, const ButtonKeys& keys) {
    FrameLayout f;
    f.width = W;
    f.height = H;
    f.content = {2, 31, W - 2, H - 3};
    int left = base::roundHalfEven(keys.left + W - keys.closeWidth);
    f.buttons[0] = {left, keys.top, left + keys.closeWidth, keys.top + keys.height};
    for (int i = 1; i < ButtonCount; ++i) {
        int right = f.buttons[i - 1].left;
        f.buttons[i] = {right - keys.width, keys.top, right, keys.top + keys.height};
    }
    f.band = {f.buttons[3].left, 2, W - 2, keys.height};
    f.caption = {4, 2, W - 4, 29};
    f.borders = {{
        Rect::fromSize(0, 0, 4, 8),
        Rect::fromSize(4, 0, W - 8, 4),
        Rect::fromSize(W - 4, 0, 4, 8),
        Rect::fromSize(0, 8, 2, H - 16),
        Rect::fromSize(W - 4, 8, 4, H - 16),
        Rect::fromSize(0, H - 8, 4, 8),
        Rect::fromSize(4, H - 4, W - 8, 4),
        Rect::fromSize(W - 4, H - 8, 4, 8),
    }};
    return f;
}

Rect FrameLayout::captionText(bool hasIcon, int cy) const {
    int left = hasIcon ? 24 : 4;
    return {left, base::roundHalfEven((31 - cy) / 2.0), band.left, content.bottom};
}

FrameArea FrameLayout::areaAt(double x, double y) const {
    if (band.contains(x, y)) return FrameArea::Band;
    if (content.contains(x, y)) return FrameArea::Content;
    return FrameArea::Frame;
}

BorderZone FrameLayout::borderAt(double x, double y) const {
    for (int i = 0; i < int(borders.size()); ++i)
        if (borders[i].contains(x, y)) return BorderZone(i);
    return BorderZone::None;
}

int FrameLayout::buttonAt(double x, double y, const std::array<bool, ButtonCount>& visible) const {
    for (int i = ButtonCount - 1; i >= 0; --i)
        if (visible[i] && buttons[i].contains(x, y)) return i;
    return -1;
}

bool FrameLayout::inIconBox(double x, double y) const {
    return caption.left <= x && x <= caption.left + 16 && 7.5 <= y && y <= 23.5;
}

SizeLimits FrameLayout::sizeLimits(const Rect& workArea, int b) const {
    SizeLimits s;
    s.maxWidth = workArea.width() + 4 + 2 * b;
    s.maxHeight = workArea.height() + 2 * b;
    s.maxLeft = workArea.left - b;
    s.maxTop = workArea.top - b;
    s.minWidth = band.width() + 56;
    s.minHeight = 42;
    return s;
}

} // namespace skin
