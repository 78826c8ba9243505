#include "viewer/RuffleCode.h"

#include <cstdint>
#include <fstream>
#include <system_error>

namespace viewer {

namespace fs = std::filesystem;

namespace {

// An unsigned LEB128 number of at most 32 bits; nothing at the end of the file or past 32 bits.
std::optional<std::uint32_t> readNumber(std::istream& in) {
    std::uint32_t value = 0;
    for (int shift = 0; shift < 35; shift += 7) {
        const int byte = in.get();
        if (byte == EOF) return std::nullopt;
        value |= static_cast<std::uint32_t>(byte & 0x7f) << shift;
        if (!(byte & 0x80)) return value;
    }
    return std::nullopt;
}

// Whether the module's "target_features" section holds the feature name; its sections are skipped
// by their sizes, so only their headers and that section are read.
bool namesFeature(const fs::path& file, std::string_view feature) {
    std::ifstream in(file, std::ios::binary);
    char header[8];
    if (!in.read(header, sizeof header) || std::string_view(header, 4) != std::string_view("\0asm", 4))
        return false;
    while (in.peek() != EOF) {
        const int id = in.get();
        const auto size = readNumber(in);
        if (!size) return false;
        const auto start = in.tellg();
        if (id == 0) {
            const auto nameSize = readNumber(in);
            if (!nameSize || *nameSize > *size) return false;
            std::string name(*nameSize, '\0');
            if (!in.read(name.data(), *nameSize)) return false;
            if (name == "target_features") {
                const auto rest =
                    static_cast<std::size_t>(*size) - static_cast<std::size_t>(in.tellg() - start);
                std::string features(rest, '\0');
                if (!in.read(features.data(), static_cast<std::streamsize>(rest))) return false;
                return features.find(feature) != std::string::npos;
            }
        }
        in.seekg(start + static_cast<std::streamoff>(*size));
    }
    return false;
}

} // namespace

std::optional<std::string> extensionsBuildOf(const fs::path& playerFolder) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(playerFolder, ec))
        if (entry.path().extension() == ".wasm" && namesFeature(entry.path(), "simd128"))
            return entry.path().filename().string();
    return std::nullopt;
}

} // namespace viewer
