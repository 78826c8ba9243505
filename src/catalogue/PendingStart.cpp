#include "catalogue/PendingStart.h"

#include "startup/ProcessLauncher.h"

#include <utility>

namespace {

std::optional<std::filesystem::path>& pending() {
    static std::optional<std::filesystem::path> program;
    return program;
}

} // namespace

void PendingStart::set(std::filesystem::path program) {
    pending() = std::move(program);
}

std::optional<std::filesystem::path> PendingStart::take() {
    return std::exchange(pending(), std::nullopt);
}

bool PendingStart::run(ProcessLauncher& launcher) {
    const auto program = take();
    return !program || launcher.startDetached(*program);
}
