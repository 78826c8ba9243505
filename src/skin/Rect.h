#pragma once
// A rectangle of the frame and tab layouts, in client pixels. All four edges belong to it: a point
// lies inside when left <= x <= right and top <= y <= bottom.

namespace skin {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static constexpr Rect fromSize(int left, int top, int width, int height) {
        return {left, top, left + width, top + height};
    }
    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr bool contains(double x, double y) const {
        return left <= x && x <= right && top <= y && y <= bottom;
    }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

} // namespace skin
