#pragma once
// Whole-file writes that a reader or a crash never sees half done: the bytes go to a temporary
// file in the same folder, which is then renamed over the target.

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <string_view>

namespace base {

// Replaces (or creates) path with bytes. Returns false and leaves the old file untouched when any
// step fails (missing folder, no permission, disk full).
bool writeFileAtomic(const std::filesystem::path& path, std::string_view bytes);

// A unique temporary file name in the folder of target, for writers that stream their bytes:
// ".<name>.<pid>.<token>.tmp".
std::filesystem::path temporarySibling(const std::filesystem::path& target);

// The process id in a name made by temporarySibling; 0 for other names. Lets a cleaner tell the
// temporaries of dead writers from those of running ones.
pid_t temporaryWriter(const std::string& name);

} // namespace base
