#pragma once
// Whole files written and read byte for byte, for the tests of the INI file and the settings.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

inline void writeBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
