#include "viewer/ViewerLayout.h"

namespace viewer {

TwipsRect ViewerLayout::progressBar(int windowWidth, int windowHeight, int barWidth, int barHeight) {
    return {windowWidth / 2 - barWidth / 2, windowHeight / 2 - barHeight / 2, barWidth, barHeight};
}

TwipsRect ViewerLayout::tabs(bool fullScreen, int innerWidth, int innerHeight) {
    if (fullScreen) return {0, 0, innerWidth, innerHeight};
    return {60, 465, innerWidth - 90, innerHeight - 900};
}

TwipsRect ViewerLayout::tabFrame(const TwipsRect& tabs, int T) {
    return {tabs.left + 30, T / 2, tabs.width - 120, tabs.height - T + 500};
}

TwipsRect ViewerLayout::player(const TwipsRect& tabs, int T) {
    TwipsRect rect = tabFrame(tabs, T);
    rect.left = 30;
    return rect;
}

TwipsRect ViewerLayout::textBox(const TwipsRect& frame) {
    return {400, 400, frame.width - 800, frame.height - 700};
}

TwipsRect ViewerLayout::pageBrowser(const TwipsRect& frame) {
    return {-30, -90, frame.width + 30, frame.height + 90};
}

} // namespace viewer
