#pragma once
// Starts a program without arguments and without waiting for it.

#include <filesystem>

class ProcessLauncher {
  public:
    virtual ~ProcessLauncher() = default;
    // True when the program was started.
    virtual bool startDetached(const std::filesystem::path& program) = 0;
};
