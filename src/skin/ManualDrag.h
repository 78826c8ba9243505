#pragma once
// Moving or sizing a window by mouse deltas, for when no window manager takes the drag over. The
// window follows the mouse from the point of the press; sizing keeps the opposite edges in place
// and stops at the size limits.

#include "skin/FrameLayout.h"

namespace skin {

class ManualDrag {
  public:
    // Moving by the caption.
    static ManualDrag move(int pressX, int pressY, const Rect& geometry);
    // Sizing by a border zone, between the smallest and the largest size.
    static ManualDrag size(BorderZone zone, int pressX, int pressY, const Rect& geometry, int minWidth,
                           int minHeight, int maxWidth, int maxHeight);

    // Window geometry (screen pixels) for the mouse at screen point (x, y).
    Rect geometryAt(int x, int y) const;

  private:
    ManualDrag() = default;

    bool moving_ = true;
    bool left_ = false, top_ = false, right_ = false, bottom_ = false;
    int pressX_ = 0, pressY_ = 0;
    Rect start_;
    int minWidth_ = 1, minHeight_ = 1, maxWidth_ = 0, maxHeight_ = 0;
};

} // namespace skin
