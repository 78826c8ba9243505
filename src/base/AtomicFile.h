#pragma once
// Whole-file writes that a reader or a crash never sees half done: the bytes go to a temporary
// file in the same folder, which is then renamed over the target.

#include <filesystem>
#include <string_view>

namespace base {

// Replaces (or creates) path with bytes. Returns false and leaves the old file untouched when any
// step fails (missing folder, no permission, disk full).
bool writeFileAtomic(const std::filesystem::path& path, std::string_view bytes);

// A unique temporary file name in the folder of target, for writers that stream their bytes.
std::filesystem::path temporarySibling(const std::filesystem::path& target);

} // namespace base
