#include "base/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace base {

std::filesystem::path temporarySibling(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    auto name = "." + target.filename().string() + "." + std::to_string(::getpid()) + "." +
                std::to_string(counter++) + ".tmp";
    return target.parent_path() / name;
}

bool writeFileAtomic(const std::filesystem::path& path, std::string_view bytes) {
    auto tmp = temporarySibling(path);
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        auto n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<std::size_t>(n);
    }
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (ok) ok = std::rename(tmp.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(tmp.c_str());
    return ok;
}

} // namespace base
