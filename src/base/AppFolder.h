#pragma once
// The program's folder: the folder of the running executable, with the programs' read-only files.
// Where the programs keep what they write is decided by base/Folders.h.

#include <filesystem>

namespace base {

std::filesystem::path applicationFolder();

// The running executable's file name without extension ("Brindle").
std::string executableBaseName();

} // namespace base
