#pragma once
// The items of the skin menu: a disabled heading, then one item per entry of the Skin folder
// (folders and plain files alike), the current skin's item checked.

#include <filesystem>
#include <string>
#include <vector>

struct SkinMenuItem {
    std::string caption;
    bool enabled = true;
    bool checked = false;
};

// Item 0 is the heading "皮肤列表", disabled; items 1, 2, ... are the folder's entries sorted by name
// (letter case ignored, as the folder listing of the program's original platform orders them). A
// missing or unreadable folder gives the heading alone.
std::vector<SkinMenuItem> skinMenuItems(const std::filesystem::path& skinFolder,
                                        const std::string& currentSkin);
