#pragma once
// A program started by a test: optional pipe from its stdout, stderr into a file, and a kill
// with SIGKILL and wait when the object goes away, so no test leaves a process behind.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

class ChildProcess {
  public:
    // Starts program with args; stdout is piped when readStdout is set, stderr goes to errorLog
    // (or /dev/null when it is empty). Throws std::runtime_error when the program cannot start.
    ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args, bool readStdout,
                 const std::filesystem::path& errorLog = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // One line from stdout (without its line end), or nothing after timeout or end of output.
    std::optional<std::string> readLine(std::chrono::milliseconds timeout);

    // The exit status once the program ended within timeout; nothing while it still runs.
    // A program ended by a signal gives 128 + the signal number.
    std::optional<int> wait(std::chrono::milliseconds timeout);

    void kill(int signal);
    pid_t pid() const { return pid_; }

  private:
    pid_t pid_ = -1;
    int stdout_ = -1;
    std::string pending_;
    std::optional<int> status_;
};
