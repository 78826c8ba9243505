#include "skin/qt/ShowSkinMenu.h"

namespace skin {

namespace {

std::function<void()>& skinMenuHandler() {
    static std::function<void()> handler;
    return handler;
}

} // namespace

void setSkinMenuHandler(std::function<void()> handler) {
    skinMenuHandler() = std::move(handler);
}

void ShowSkinMenu() {
    // A copy, so a handler that installs another one is not destroyed while it runs.
    auto handler = skinMenuHandler();
    if (handler) handler();
}

} // namespace skin
