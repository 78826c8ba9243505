#pragma once
// Colour integers of the settings, skin and control property files: lowest byte red, then green,
// then blue (16181985 is red 225, green 234, blue 246). A control's colour property may instead
// name a system colour: top bit set, its index in the lowest byte (0x8000000F is the button face).

#include <cstdint>

namespace base {

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

constexpr bool isSystemColor(std::int32_t c) {
    return (static_cast<std::uint32_t>(c) & 0x80000000u) != 0;
}
constexpr int systemColorIndex(std::int32_t c) {
    return c & 0xFF;
}

} // namespace base
