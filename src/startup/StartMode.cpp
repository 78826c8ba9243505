#include "startup/StartMode.h"

#include <system_error>

namespace fs = std::filesystem;

namespace {

// A file or folder of that name counts as there; false only when creating it failed.
bool ensureFolder(const fs::path& folder) {
    std::error_code ec;
    if (fs::exists(folder, ec)) return true;
    fs::create_directory(folder, ec);
    return !ec;
}

} // namespace

StartResult runStartSequence(const base::Folders& folders, const std::string& exeBaseName,
                             ProcessLauncher& launcher, IniFile& ini) {
    StartResult result;
    result.settingsFile = folders.config / (exeBaseName + ".ini");
    result.settingsFileReady = ensureSettingsFile(result.settingsFile);

    // The updater starts before any setting is read, so on a first run it finds the default file.
    std::error_code ec;
    auto updater = folders.program / "Sorrel";
    if (fs::is_regular_file(updater, ec)) result.sorrelStarted = launcher.startDetached(updater);

    ini.SpecifyIni(result.settingsFile.string());
    // Without a settings file (a read-only application folder) the defaults apply, not empty values.
    result.settings = result.settingsFileReady ? readSettings(ini) : defaultSettings();
    for (const char* name : {"Game", "Html"}) {
        if (!ensureFolder(folders.data / name)) result.missingFolders.push_back(folders.data / name);
    }
    return result;
}
