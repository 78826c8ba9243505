#pragma once
// The picture loader of the skins, the tab strip and the progress bar.

#include "skin/qt/Surface.h"

#include <filesystem>

namespace skin {

// Lets pending events other than user input run, then loads the picture file. A missing, empty or
// broken file gives a null surface.
Surface LoadWebPicture(const std::filesystem::path& path);

} // namespace skin
