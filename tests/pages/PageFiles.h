#pragma once
// File helpers for the page builder tests: a fake store page on disk (the builders read local
// paths like addresses) and whole-file reads of what they wrote.

#include "base/AtomicFile.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

inline std::string readWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Writes text as a store page in folder and returns its path for use as a store address.
inline std::string storePage(const std::filesystem::path& folder, std::string_view text) {
    const auto path = folder / "store.html";
    base::writeFileAtomic(path, text);
    return path.string();
}

inline const std::string kTestHeader =
    "<!doctype html> <html><head><link rel=\"stylesheet\" "
    "href=\"http://static.test/static/07051645/appweb/styles/main.css\" type=\"text/css\" media=\"screen\" "
    "/></head><body bgcolor=#E1EAF6>";
inline const std::string kTestFooter = "</body> </html> \r\n";
