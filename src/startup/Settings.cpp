#include "startup/Settings.h"

#include "base/AtomicFile.h"
#include "base/Numbers.h"
#include "base/Text.h"
#include "startup/IniDocument.h"
#include "startup/IniFile.h"

#include <cerrno>
#include <cstdio>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

const std::string& defaultSettingsText() {
    static const std::string text = "[Main]\r\n"
                                    "SkinName = Default \r\n"
                                    "Len = 7\r\n"
                                    "[Color]\r\n"
                                    "TabColor = 1381653\r\n"
                                    "TabBackColor = 16181985\r\n"
                                    "WebBackColor = #E1EAF6\r\n"
                                    "\r\n";
    return text;
}

bool ensureSettingsFile(const fs::path& file) {
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(file, ec))) {
        // Write the whole text under a temporary name, then link it into place: the link fails
        // when the other program (or a skin change) has put a file there meanwhile, so a settings
        // file is never overwritten and never seen half written.
        auto staged = base::temporarySibling(file);
        if (base::writeFileAtomic(staged, defaultSettingsText())) {
            if (::link(staged.c_str(), file.c_str()) != 0 && errno != EEXIST) {
                // File systems without hard links: a rename is still atomic.
                if (!fs::exists(fs::symlink_status(file, ec))) std::rename(staged.c_str(), file.c_str());
            }
            ::unlink(staged.c_str());
        }
    }
    return fs::is_regular_file(file, ec);
}

namespace {

// The conversions of the start sequence over any source of key texts.
template <typename Read> Settings settingsFrom(Read read) {
    Settings s;
    s.tabBackColor = base::leadingInt(read("Color", "TabBackColor"));
    s.webBackColor = read("Color", "WebBackColor");
    s.tabColor = base::leadingInt(read("Color", "TabColor"));
    s.skinName = read("Main", "SkinName");
    // A Len that cannot be a length keeps the whole name rather than failing the start.
    auto len = base::toInt32(read("Main", "Len"));
    if (len && *len >= 0) s.skinName = base::leftChars(s.skinName, *len);
    return s;
}

} // namespace

Settings readSettings(IniFile& ini) {
    return settingsFrom(
        [&](std::string_view section, std::string_view key) { return ini.ReadString(section, key, 100); });
}

Settings defaultSettings() {
    static const startup::IniDocument text(defaultSettingsText());
    return settingsFrom(
        [](std::string_view section, std::string_view key) { return text.find(section, key).value_or(""); });
}
