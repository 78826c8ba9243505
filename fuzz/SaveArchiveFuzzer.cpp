// Save restores from untrusted zip files: any bytes as a zip either restore only readable saves
// into movie folders of Saves/ or change nothing, and never write outside Saves/.

#include "library/SaveArchive.h"
#include "viewer/SolFile.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A scratch folder of this process, removed when it ends.
    static const struct Scratch {
        fs::path root = fs::temp_directory_path() / ("save-archive-fuzz-" + std::to_string(::getpid()));
        ~Scratch() { fs::remove_all(root); }
    } scratch;
    const fs::path& root = scratch.root;
    const fs::path saves = root / "Saves";
    const fs::path zip = root / "in.zip";
    fs::remove_all(root);
    fs::create_directories(saves);
    std::ofstream(zip, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    const auto result = library::SaveArchive::restore(zip, saves);
    std::size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const fs::path relative = entry.path().lexically_relative(saves);
        if (entry.path() == zip || entry.path() == saves) continue;
        if (relative.empty() || *relative.begin() == "..") std::abort(); // written outside Saves/
        if (entry.is_symlink() || (!entry.is_directory() && !viewer::SolFile::read(entry.path())))
            std::abort();
        if (entry.is_regular_file()) ++files;
    }
    if (files != (result.ok() ? result.files : 0)) std::abort();
    return 0;
}
