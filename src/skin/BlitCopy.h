#pragma once
// One copy from a skin bitmap to a surface: destination and source rectangles as origin and
// extent (extents may be negative; the surface mirrors or skips such copies), stretched or 1:1.

namespace skin {

struct BlitCopy {
    int dx = 0, dy = 0, dw = 0, dh = 0;
    int sx = 0, sy = 0, sw = 0, sh = 0;
    bool stretched = false;
    friend bool operator==(const BlitCopy&, const BlitCopy&) = default;
};

} // namespace skin
