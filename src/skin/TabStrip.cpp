#include "skin/TabStrip.h"

#include <algorithm>

namespace skin {

namespace {

bool storeSize(int& stored, int value) {
    value = std::max(value, TabStrip::MinimumTabSize);
    if (value == stored) return false;
    stored = value;
    return true;
}

} // namespace

bool TabStrip::setTabWidth(int width) {
    return storeSize(tabWidth_, width);
}

bool TabStrip::setTabHeight(int height) {
    return storeSize(tabHeight_, height);
}

int TabStrip::tabAt(int x, int y, int count) const {
    if (!inRow(y) || x < 0) return -1;
    const int index = x / tabWidth_;
    return index < count ? index : -1;
}

bool TabStrip::mouseMove(int x, int y, int count) {
    const int index = tabAt(x, y, count);
    if (index == hovered_) return false;
    hovered_ = index;
    return true;
}

bool TabStrip::clearHover() {
    if (hovered_ < 0) return false;
    hovered_ = -1;
    return true;
}

TabStrip::Press TabStrip::press(int button, int x, int y, int count,
                                const std::function<bool(int)>& tabVisible) const {
    if (button != 1 || !inRow(y)) return {};
    const int index = tabAt(x, y, count);
    if (index < 0) return {-1, true};
    if (!tabVisible(index)) return {};
    return {index, true};
}

TabImage TabStrip::imageOf(bool current, bool hovered) {
    const NineGridMargins grid{7, 7, 7, 7};
    if (current) return {ImageWidth * (hovered ? 2 : 1), 0, ImageWidth, ImageHeight, grid};
    if (hovered) return {0, 0, ImageWidth, ImageHeight, grid};
    return backgroundImage();
}

TabImage TabStrip::backgroundImage() {
    return {0, 0, 1, ImageHeight, {0, 0, 0, 1}};
}

std::int16_t TabStrip::loWord(std::int32_t dword) {
    return static_cast<std::int16_t>(dword & 0xFFFF);
}

std::int16_t TabStrip::hiWord(std::int32_t dword) {
    return static_cast<std::int16_t>(dword >> 16);
}

} // namespace skin
