#pragma once
// The built appstore, started on a free loopback port with its own data folder.

#include "ChildProcess.h"
#include "TempDir.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// The application folder of the build, where appstore, Sorrel and Brindle are.
std::filesystem::path builtAppFolder();

class StoreProcess {
  public:
    // Starts appstore with --port 0 and the given extra arguments and waits for its first line.
    explicit StoreProcess(const std::vector<std::string>& extraArgs = {});

    int port() const { return port_; }
    std::string site() const { return "http://127.0.0.1:" + std::to_string(port_); }
    // The store's request log (stderr).
    std::string log() const;
    ChildProcess& process() { return *process_; }

  private:
    TempDir data_;
    std::unique_ptr<ChildProcess> process_;
    int port_ = 0;
};

// A loopback port on which nothing listens (bound once, then closed).
int closedPort();
