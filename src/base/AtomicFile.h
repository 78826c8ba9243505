#pragma once
// Whole-file writes that a reader or a crash never sees half done: the bytes go to a temporary
// file in the same folder, which is then renamed over the target.

#include <filesystem>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace base {

// Replaces (or creates) path with bytes. Returns false and leaves the old file untouched when any
// step fails (missing folder, no permission, disk full).
bool writeFileAtomic(const std::filesystem::path& path, std::string_view bytes);

// As writeFileAtomic, but a file that already holds exactly these bytes is left as it is: nothing is
// written and nothing waits for the disk. For files rebuilt often whose content seldom changes.
bool writeFileAtomicIfChanged(const std::filesystem::path& path, std::string_view bytes);

// A unique temporary file name in the folder of target, for writers that stream their bytes:
// ".<name>.<pid>.<token>.tmp".
std::filesystem::path temporarySibling(const std::filesystem::path& target);

// The process id in a name made by temporarySibling; 0 for other names. Lets a cleaner tell the
// temporaries of dead writers from those of running ones.
pid_t temporaryWriter(const std::string& name);

// Removes the temporaries named by temporarySibling in folder that a cut-short writer left: those
// of processes that have ended, or with anyWriter every one, for a caller that is the only process
// writing there (it holds the lock that keeps other writers out) and has not begun writing.
void removeTemporaries(const std::filesystem::path& folder, bool anyWriter);

} // namespace base
