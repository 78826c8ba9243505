#include "startup/Settings.h"

#include "base/AtomicFile.h"
#include "base/Numbers.h"
#include "base/Text.h"
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

Settings readSettings(IniFile& ini) {
    Settings s;
    s.tabBackColor = base::leadingInt(ini.ReadString("Color", "TabBackColor", 100));
    s.webBackColor = ini.ReadString("Color", "WebBackColor", 100);
    s.tabColor = base::leadingInt(ini.ReadString("Color", "TabColor", 100));
    s.skinName = ini.ReadString("Main", "SkinName", 100);
    // A Len that cannot be a length keeps the whole name rather than failing the start.
    auto len = base::toInt32(ini.ReadString("Main", "Len", 100));
    if (len && *len >= 0) s.skinName = base::leftChars(s.skinName, *len);
    return s;
}
