#include "base/RunLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace base {

RunLock::RunLock(const std::filesystem::path& file, Mode mode) {
    // Close-on-exec: a program this one starts must not keep the lock after this one has ended.
    fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) return;
    const int operation = mode == Mode::Try ? LOCK_EX | LOCK_NB : LOCK_EX;
    int result;
    while ((result = ::flock(fd_, operation)) < 0 && errno == EINTR) {
    }
    held_ = result == 0;
    busy_ = !held_ && errno == EWOULDBLOCK;
}

RunLock::~RunLock() {
    if (fd_ >= 0) ::close(fd_);
}

} // namespace base
