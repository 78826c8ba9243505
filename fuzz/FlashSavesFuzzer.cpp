// Flash saves from untrusted bytes: a .sol file a user copied in is read without a crash, within its
// byte budget, and the check that only measures it agrees with the reader; a storage key that a
// page reports never names a file outside the movie's folder, nor one whose name does not give the
// key's name back. Inputs reach a megabyte, so that references can reach the budget.
// libFuzzer options: -max_len=1100000

#include "viewer/FlashSaves.h"
#include "viewer/PlayerFiles.h"
#include "viewer/SolFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto file = viewer::SolFile::parse(bytes);
    if (file.has_value() != viewer::SolFile::check(bytes)) std::abort();
    if (file) {
        if (file->weight() > viewer::SolFile::budgetFor(size)) std::abort();
        for (const auto& [name, value] : file->values())
            (void)value.toText();
    }

    static const viewer::FlashSaves saves("/saves", "game.swf", "app", "Game/game.swf");
    if (auto file = saves.fileOf(bytes)) {
        if (file->parent_path() != saves.folder()) std::abort();
        const std::string name = file->filename().string();
        if (!viewer::isPlainFileName(name) || name.front() == '.') std::abort();
        const auto keys = saves.keysOf(name);
        if (keys.empty()) std::abort();
        for (const auto& key : keys)
            if (saves.fileOf(key) != file) std::abort();
    }
    return 0;
}
