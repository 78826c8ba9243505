#pragma once
// The program to start once this process has let go of everything it holds (its windows, the web
// engine, the settings file and the page cache): the new version after an update, or the program
// itself after a skin change. Starting it only then means two instances never write the same files
// at once.

#include <filesystem>
#include <optional>

class ProcessLauncher;

class PendingStart {
  public:
    // Names the program; a later call replaces an earlier one.
    static void set(std::filesystem::path program);
    // The named program, which is no longer named afterwards.
    static std::optional<std::filesystem::path> take();
    // Starts the named program, if any, without arguments and without waiting; the name is cleared.
    // False when one was named and could not be started.
    static bool run(ProcessLauncher& launcher);
};
