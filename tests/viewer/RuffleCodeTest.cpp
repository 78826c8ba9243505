#include "viewer/RuffleCode.h"

#include "TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace fs = std::filesystem;

namespace {

// A custom section: its name and payload behind its size, as LEB128 numbers of one byte.
std::string custom(const std::string& name, const std::string& payload) {
    const std::string body = std::string(1, static_cast<char>(name.size())) + name + payload;
    return std::string(1, '\0') + static_cast<char>(body.size()) + body;
}

// A module with a type section of one byte, a "name" section and a "target_features" section
// listing features (each a prefix and a name).
void writeModule(const fs::path& file, const std::string& features) {
    std::ofstream(file, std::ios::binary)
        << std::string("\0asm\1\0\0\0", 8) << std::string("\1\1\0", 3) << custom("name", "simd128 in a name")
        << custom("target_features", features);
}

} // namespace

TEST(RuffleCodeTest, TheBuildUsingExtensionsIsTheOneWhoseFeaturesNameSimd) {
    TempDir player;
    writeModule(player.path() / "a1.wasm", std::string("\1+\x0b"
                                                       "bulk-memory"));
    std::ofstream(player.path() / "broken.wasm", std::ios::binary) << std::string("\0asm\1\0\0\0\0\x7f", 10);
    std::ofstream(player.path() / "notes.txt") << "simd128";
    EXPECT_FALSE(viewer::extensionsBuildOf(player.path()));
    writeModule(player.path() / "b2.wasm", std::string("\2+\x0b"
                                                       "bulk-memory+\x07"
                                                       "simd128"));
    EXPECT_EQ(viewer::extensionsBuildOf(player.path()), "b2.wasm");
    EXPECT_FALSE(viewer::extensionsBuildOf(player.path() / "missing"));
}
