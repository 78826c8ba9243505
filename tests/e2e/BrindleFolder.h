#pragma once
// A fresh application folder for the catalogue browser: the built skins (and the player files when
// they were built), a Servers.ini that points at a store, and on request copies of the built
// programs, so that a program run from there takes it as its application folder.

#include "TempDir.h"

#include <filesystem>
#include <string>
#include <vector>

class BrindleFolder {
  public:
    // programs: names of built programs to copy in ("Brindle", "Sorrel").
    explicit BrindleFolder(const std::string& storeSite, const std::vector<std::string>& programs = {});

    const std::filesystem::path& path() const { return dir_.path(); }
    std::filesystem::path html() const { return dir_.path() / "Html"; }
    // The page file of a category key in Html.
    std::filesystem::path page(const std::string& key) const;

  private:
    TempDir dir_;
};
