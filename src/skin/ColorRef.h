#pragma once
// Colour integers of the settings and skin files: lowest byte red, then green, then blue
// (16181985 is red 225, green 234, blue 246).

#include <cstdint>

namespace skin {

constexpr int colorRefRed(std::int32_t c) {
    return c & 0xFF;
}
constexpr int colorRefGreen(std::int32_t c) {
    return (c >> 8) & 0xFF;
}
constexpr int colorRefBlue(std::int32_t c) {
    return (c >> 16) & 0xFF;
}
constexpr std::int32_t colorRef(int red, int green, int blue) {
    return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}

} // namespace skin
