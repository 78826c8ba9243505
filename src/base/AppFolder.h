#pragma once
// The application folder: the folder of the running executable. Every path of the programs is
// built from it.

#include <filesystem>

namespace base {

std::filesystem::path applicationFolder();

// The running executable's file name without extension ("Brindle").
std::string executableBaseName();

} // namespace base
