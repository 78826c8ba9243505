#include "skin/ManualDrag.h"

#include <algorithm>
#include <climits>

namespace skin {

ManualDrag ManualDrag::move(int pressX, int pressY, const Rect& geometry) {
    ManualDrag d;
    d.pressX_ = pressX;
    d.pressY_ = pressY;
    d.start_ = geometry;
    return d;
}

ManualDrag ManualDrag::size(BorderZone zone, int pressX, int pressY, const Rect& geometry, int minWidth,
                            int minHeight, int maxWidth, int maxHeight) {
    ManualDrag d = move(pressX, pressY, geometry);
    d.moving_ = false;
    d.left_ = zone == BorderZone::TopLeft || zone == BorderZone::Left || zone == BorderZone::BottomLeft;
    d.right_ = zone == BorderZone::TopRight || zone == BorderZone::Right || zone == BorderZone::BottomRight;
    d.top_ = zone == BorderZone::TopLeft || zone == BorderZone::Top || zone == BorderZone::TopRight;
    d.bottom_ =
        zone == BorderZone::BottomLeft || zone == BorderZone::Bottom || zone == BorderZone::BottomRight;
    d.minWidth_ = std::max(1, minWidth);
    d.minHeight_ = std::max(1, minHeight);
    // A limit of 0 or less (or below the smallest size) means no upper limit.
    d.maxWidth_ = maxWidth >= d.minWidth_ ? maxWidth : INT_MAX;
    d.maxHeight_ = maxHeight >= d.minHeight_ ? maxHeight : INT_MAX;
    return d;
}

Rect ManualDrag::geometryAt(int x, int y) const {
    int dx = x - pressX_;
    int dy = y - pressY_;
    if (moving_) return {start_.left + dx, start_.top + dy, start_.right + dx, start_.bottom + dy};
    Rect r = start_;
    auto clampExtent = [](int extent, int low, int high) { return std::clamp(extent, low, high); };
    if (right_) r.right = r.left + clampExtent(start_.width() + dx, minWidth_, maxWidth_);
    if (left_) r.left = r.right - clampExtent(start_.width() - dx, minWidth_, maxWidth_);
    if (bottom_) r.bottom = r.top + clampExtent(start_.height() + dy, minHeight_, maxHeight_);
    if (top_) r.top = r.bottom - clampExtent(start_.height() - dy, minHeight_, maxHeight_);
    return r;
}

} // namespace skin
