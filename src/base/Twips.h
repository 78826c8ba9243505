#pragma once
// Window layouts are in twips; the screen is in pixels, 15 twips to the pixel (96 dots per inch).

#include <cmath>

namespace base {

inline constexpr int TwipsPerPixel = 15;

// Nearest pixel; halves away from zero, so a layout and its mirror image agree.
inline int twipsToPixels(int twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / TwipsPerPixel));
}

inline constexpr int pixelsToTwips(int pixels) {
    return pixels * TwipsPerPixel;
}

// A control's place in its container, in twips.
struct TwipsRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const TwipsRect&) const = default;
};

} // namespace base
