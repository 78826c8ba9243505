#pragma once
// The skin menu of the catalogue window, opened by the frame's fourth caption button. The catalogue
// window installs the handler that shows its menu at the mouse position; until then the button does
// nothing.

#include <functional>

namespace skin {

void setSkinMenuHandler(std::function<void()> handler);
void ShowSkinMenu();

} // namespace skin
