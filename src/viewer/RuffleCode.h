#pragma once
// Ruffle's code comes in two builds in the player's folder, one using WebAssembly's extensions
// (SIMD, bulk memory and others) and one without; Ruffle takes the first in an engine that has them,
// as ours does. The build using them names simd128 in its "target_features" section.

#include <filesystem>
#include <optional>
#include <string>

namespace viewer {

// The file name of the build of Ruffle's code in playerFolder that uses WebAssembly's extensions;
// nothing when no .wasm file there names simd128 among its features.
std::optional<std::string> extensionsBuildOf(const std::filesystem::path& playerFolder);

} // namespace viewer
