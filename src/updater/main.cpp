// Sorrel: rebuilds the page cache of the catalogue browser and ends. It has no window and no
// command line, reports nothing and always ends with exit code 0.

#include "base/Folders.h"
#include "base/RunLock.h"
#include "pages/Catalogue.h"
#include "startup/IniFile.h"
#include "startup/Servers.h"
#include "startup/Settings.h"
#include "updater/CacheRebuild.h"

namespace {
const char* const kRunLockName = "Sorrel.lock";
}

int main() {
    const auto folders = base::Folders::ofThisProgram();
    folders.prepare();
    const auto& appFolder = folders.data;
    // Taken before the settings are read, so a run that waited rebuilds with the newest colour.
    const base::RunLock lock(appFolder / kRunLockName);
    const auto settingsFile = folders.config / "Brindle.ini";
    ensureSettingsFile(settingsFile);

    IniFile settings;
    settings.SpecifyIni(settingsFile.string());
    const std::string backColor = settings.ReadString("Color", "WebBackColor", 100);

    std::error_code ignored;
    std::filesystem::create_directory(appFolder / "Game", ignored);
    std::filesystem::create_directory(appFolder / "Html", ignored);

    const auto servers = Servers::read(folders.config);
    const PageSite site{Catalogue::htmlFolder(appFolder), servers.site, servers.staticHost};
    CacheRebuild::removeStaleTemporaries(site.htmlDir);
    CacheRebuild(site, backColor).run(Catalogue::rebuildList());
    return 0;
}
