#pragma once
// Starts a program with posix_spawn in a session of its own. The caller never waits for it; a
// background thread reaps it when it ends, so no zombie is left behind.

#include "startup/ProcessLauncher.h"

class PosixLauncher : public ProcessLauncher {
  public:
    bool startDetached(const std::filesystem::path& program) override;
};
