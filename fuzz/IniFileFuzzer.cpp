// Feeds arbitrary bytes as an INI file, then reads and writes keys through IniFile. Checks that a
// value written is the value read back and that nothing outside the file changes.
#include "startup/IniFile.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace {

// A folder of our own for the one file each run writes, removed when the fuzzer ends.
class ScratchFolder {
  public:
    ScratchFolder() {
        // Writes sync to disk; a memory file system keeps the runs fast.
        for (const char* pattern : {"/dev/shm/ini-fuzz-XXXXXX", "/tmp/ini-fuzz-XXXXXX"}) {
            folder_ = pattern;
            if (::mkdtemp(folder_.data())) return;
        }
        std::abort();
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    std::string file() const { return folder_ + "/fuzz.ini"; }

  private:
    std::string folder_;
};

constexpr std::string_view kSections[] = {"Main", "color", "", "[x]", "Store"};
constexpr std::string_view kKeys[] = {"SkinName", "len", "TabColor", "", " spaced ", ";c"};

// What a read gives back for a written value: blanks trimmed, one pair of matching quotes removed.
std::string expectedRead(std::string_view v) {
    auto first = v.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    v = v.substr(first, v.find_last_not_of(" \t\r") - first + 1);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    std::string_view section = kSections[data[0] % std::size(kSections)];
    std::string_view key = kKeys[data[1] % std::size(kKeys)];
    auto bufferSize = static_cast<std::int32_t>(static_cast<std::int8_t>(data[2]));
    std::string_view rest(reinterpret_cast<const char*>(data) + 3, size - 3);
    // The last line of the input (when there is more than one) is the value to write.
    auto cut = rest.rfind('\n');
    std::string_view content = cut == std::string_view::npos ? rest : rest.substr(0, cut);
    std::string_view value = cut == std::string_view::npos ? std::string_view{} : rest.substr(cut + 1);

    static const ScratchFolder scratch;
    const std::string file = scratch.file();
    { std::ofstream(file, std::ios::binary | std::ios::trunc) << content; }

    IniFile ini;
    ini.SpecifyIni(file);
    ini.ReadString(section, key, bufferSize);
    ini.ReadInt(section, key);
    bool written = ini.WriteString(section, key, value);
    bool writable = value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos &&
                    key.find('=') == std::string_view::npos && section.find(']') == std::string_view::npos;
    if (written != writable) std::abort();
    if (written && !key.starts_with(';') && ini.ReadString(section, key, 1 << 20) != expectedRead(value))
        std::abort();
    return 0;
}
