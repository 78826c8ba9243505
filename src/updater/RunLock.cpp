#include "updater/RunLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

RunLock::RunLock(const std::filesystem::path& file) {
    fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) return;
    int result;
    while ((result = ::flock(fd_, LOCK_EX)) < 0 && errno == EINTR) {
    }
    held_ = result == 0;
}

RunLock::~RunLock() {
    if (fd_ >= 0) ::close(fd_);
}
