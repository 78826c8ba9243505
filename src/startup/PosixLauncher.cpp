#include "startup/PosixLauncher.h"

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

// posix_spawnattr_t with its destroy call tied to scope.
class SpawnAttributes {
  public:
    SpawnAttributes() { ok_ = ::posix_spawnattr_init(&attr_) == 0; }
    ~SpawnAttributes() {
        if (ok_) ::posix_spawnattr_destroy(&attr_);
    }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;

    // A session of its own (it outlives us and ignores our terminal's signals), an empty signal
    // mask and default handling of the signals a GUI process may have changed.
    bool setUp() {
        if (!ok_) return false;
        sigset_t none, defaults;
        sigemptyset(&none);
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGPIPE);
        sigaddset(&defaults, SIGCHLD);
        sigaddset(&defaults, SIGINT);
        sigaddset(&defaults, SIGTERM);
        return ::posix_spawnattr_setsigmask(&attr_, &none) == 0 &&
               ::posix_spawnattr_setsigdefault(&attr_, &defaults) == 0 &&
               ::posix_spawnattr_setflags(&attr_, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK |
                                                      POSIX_SPAWN_SETSIGDEF) == 0;
    }
    const posix_spawnattr_t* get() const { return &attr_; }

  private:
    posix_spawnattr_t attr_;
    bool ok_ = false;
};

// posix_spawn_file_actions_t with its destroy call tied to scope: the child keeps standard input,
// output and error and nothing else. An inherited descriptor would keep our peers' ends of pipes
// and sockets open (a web engine's helper processes wait on theirs and would outlive us).
class SpawnFileActions {
  public:
    SpawnFileActions() { ok_ = ::posix_spawn_file_actions_init(&actions_) == 0; }
    ~SpawnFileActions() {
        if (ok_) ::posix_spawn_file_actions_destroy(&actions_);
    }
    SpawnFileActions(const SpawnFileActions&) = delete;
    SpawnFileActions& operator=(const SpawnFileActions&) = delete;

    bool setUp() { return ok_ && ::posix_spawn_file_actions_addclosefrom_np(&actions_, 3) == 0; }
    const posix_spawn_file_actions_t* get() const { return &actions_; }

  private:
    posix_spawn_file_actions_t actions_;
    bool ok_ = false;
};

} // namespace

bool PosixLauncher::startDetached(const std::filesystem::path& program) {
    SpawnAttributes attributes;
    SpawnFileActions files;
    if (!attributes.setUp() || !files.setUp()) return false;
    std::string name = program.filename().string();
    char* argv[] = {name.data(), nullptr};
    pid_t pid = 0;
    if (::posix_spawn(&pid, program.c_str(), files.get(), attributes.get(), argv, environ) != 0) return false;
    // Nobody waits for the program; this thread only collects its exit status so that it does not
    // stay behind as a zombie while we run.
    std::thread([pid] {
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}
