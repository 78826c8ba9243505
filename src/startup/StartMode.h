#pragma once
// The start sequence of the catalogue browser, up to the point where the main window opens: the
// settings file, the page-cache updater, the settings and the working folders.

#include "base/Folders.h"
#include "startup/IniFile.h"
#include "startup/ProcessLauncher.h"
#include "startup/Settings.h"

#include <filesystem>
#include <string>
#include <vector>

struct StartResult {
    std::filesystem::path settingsFile; // settings folder / (executable base name + ".ini")
    bool settingsFileReady = false;     // the file exists (it was there or was created now)
    Settings settings;
    bool sorrelStarted = false;
    std::vector<std::filesystem::path> missingFolders; // working folders that could not be created
};

// Runs the sequence: creates the settings file in the settings folder with its defaults when
// missing, starts the updater "Sorrel" of the program's folder when that file exists, names ini on
// the settings file, reads the settings (the defaults when no settings file could be made), and
// creates the folders Game and Html in the data folder when nothing of that name exists.
StartResult runStartSequence(const base::Folders& folders, const std::string& exeBaseName,
                             ProcessLauncher& launcher, IniFile& ini);
