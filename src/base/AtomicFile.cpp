#include "base/AtomicFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace base {

std::filesystem::path temporarySibling(const std::filesystem::path& target) {
    // A random part per process keeps a name left behind by a crashed process from blocking a
    // later process that happens to get the same process id.
    static const std::string processToken = [] {
        std::random_device random;
        char hex[9];
        std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(random()));
        return std::string(hex);
    }();
    static std::atomic<unsigned> counter{0};
    auto name = "." + target.filename().string() + "." + std::to_string(::getpid()) + "." + processToken +
                "-" + std::to_string(counter++) + ".tmp";
    return target.parent_path() / name;
}

pid_t temporaryWriter(const std::string& name) {
    if (!name.starts_with(".") || !name.ends_with(".tmp")) return 0;
    const std::string_view stem(name.data(), name.size() - 4);
    const auto tokenDot = stem.rfind('.');
    if (tokenDot == std::string_view::npos || tokenDot == 0) return 0;
    const auto pidDot = stem.rfind('.', tokenDot - 1);
    if (pidDot == std::string_view::npos) return 0;
    pid_t pid = 0;
    const auto digits = stem.substr(pidDot + 1, tokenDot - pidDot - 1);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
    return error == std::errc() && end == digits.data() + digits.size() ? pid : 0;
}

void removeTemporaries(const std::filesystem::path& folder, bool anyWriter) {
    std::error_code ec;
    for (const auto& item : std::filesystem::directory_iterator(folder, ec)) {
        const pid_t writer = temporaryWriter(item.path().filename().string());
        if (writer > 0 && (anyWriter || (::kill(writer, 0) != 0 && errno == ESRCH)))
            std::filesystem::remove(item.path(), ec);
    }
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

namespace {

bool holds(const std::filesystem::path& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    bool same = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                static_cast<std::size_t>(info.st_size) == bytes.size();
    char buffer[16384];
    for (std::size_t done = 0; same && done < bytes.size();) {
        const auto n = ::read(fd, buffer, std::min(sizeof buffer, bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        same = n > 0 && bytes.substr(done, static_cast<std::size_t>(n)) ==
                            std::string_view(buffer, static_cast<std::size_t>(n));
        if (same) done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return same;
}

} // namespace

bool writeFileAtomicIfChanged(const std::filesystem::path& path, std::string_view bytes) {
    return holds(path, bytes) || writeFileAtomic(path, bytes);
}

} // namespace base
