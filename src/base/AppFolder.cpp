#include "base/AppFolder.h"

#include <system_error>

namespace base {

static std::filesystem::path executablePath() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path() / "unknown" : exe;
}

std::filesystem::path applicationFolder() {
    return executablePath().parent_path();
}

std::string executableBaseName() {
    return executablePath().stem().string();
}

} // namespace base
