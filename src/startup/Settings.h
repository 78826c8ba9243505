#pragma once
// The settings file of the catalogue browser (Brindle.ini) and the values read from it at start.

#include <cstdint>
#include <filesystem>
#include <string>

class IniFile;

struct Settings {
    std::string skinName;          // Main/SkinName cut to Main/Len characters
    std::int32_t tabColor = 0;     // Color/TabColor, colour integer (lowest byte red)
    std::int32_t tabBackColor = 0; // Color/TabBackColor
    std::string webBackColor;      // Color/WebBackColor, an HTML colour text, as read
};

// The default file: seven lines, each ended by CRLF, then one more CRLF.
const std::string& defaultSettingsText();

// Creates file with the default text when nothing exists at its path; an existing file is never
// touched, and a file another process creates at the same moment is not overwritten. True when a
// settings file is there afterwards.
bool ensureSettingsFile(const std::filesystem::path& file);

// Reads the settings through ini (already named on the settings file). Colours take the leading
// number of their text, rounded halves to even (text without a number gives 0). The skin name keeps
// the first Len characters of SkinName; a Len that is missing, empty, negative or not a number keeps
// the whole name.
Settings readSettings(IniFile& ini);

// The values of the default file, for a start where no settings file could be made.
Settings defaultSettings();
