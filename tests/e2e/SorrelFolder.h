#pragma once
// A fresh application folder holding a copy of the built Sorrel and a Servers.ini that points at
// a given store site.

#include "TempDir.h"

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

class ChildProcess;

class SorrelFolder {
  public:
    explicit SorrelFolder(const std::string& storeSite);

    const std::filesystem::path& path() const { return dir_.path(); }
    std::filesystem::path html() const { return dir_.path() / "Html"; }

    // Runs Sorrel to its end; the exit status, or nothing when it ran longer than timeout.
    std::optional<int> run(std::chrono::seconds timeout = std::chrono::seconds(60)) const;
    // Starts Sorrel without waiting.
    ChildProcess start() const;

    // Every file of Html by name, with its contents.
    std::map<std::string, std::string> htmlFiles() const;

  private:
    TempDir dir_;
};

std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, const std::string& bytes);
// Servers.ini in folder, pointing the store, its static files and the maker's server at site.
void writeServersIni(const std::filesystem::path& folder, const std::string& site);
