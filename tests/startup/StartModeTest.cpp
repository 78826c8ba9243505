#include "startup/StartMode.h"

#include "TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Records what would be started; the settings file must already exist when it is asked.
struct RecordingLauncher : ProcessLauncher {
    std::vector<fs::path> started;
    fs::path settingsFile;
    bool settingsExistedAtStart = false;
    bool startDetached(const fs::path& program) override {
        started.push_back(program);
        settingsExistedAtStart = fs::exists(settingsFile);
        return true;
    }
};

} // namespace

TEST(StartMode, FirstRunCreatesSettingsStartsTheUpdaterAndMakesTheFolders) {
    TempDir dir;
    std::ofstream(dir.path() / "Sorrel") << "#!/bin/sh\n";
    RecordingLauncher launcher;
    launcher.settingsFile = dir.path() / "Brindle.ini";
    IniFile ini;
    auto r = runStartSequence(dir.path(), "Brindle", launcher, ini);
    EXPECT_EQ(r.settingsFile, dir.path() / "Brindle.ini");
    EXPECT_TRUE(r.settingsFileReady);
    EXPECT_TRUE(r.sorrelStarted);
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0], dir.path() / "Sorrel");
    EXPECT_TRUE(launcher.settingsExistedAtStart);
    EXPECT_EQ(r.settings.skinName, "Default");
    EXPECT_EQ(r.settings.tabBackColor, 16181985);
    EXPECT_EQ(ini.filePath(), (dir.path() / "Brindle.ini").string());
    EXPECT_TRUE(fs::is_directory(dir.path() / "Game"));
    EXPECT_TRUE(fs::is_directory(dir.path() / "Html"));
    EXPECT_TRUE(r.missingFolders.empty());
}

TEST(StartMode, RenamedProgramUsesItsOwnSettingsAndNoUpdaterMeansNoStart) {
    TempDir dir;
    std::ofstream(dir.path() / "Brindle.ini") << "[Main]\nSkinName=Blue\nLen=4\n";
    fs::create_directory(dir.path() / "Sorrel"); // a folder is not the updater
    RecordingLauncher launcher;
    IniFile ini;
    auto r = runStartSequence(dir.path(), "MyBox", launcher, ini);
    EXPECT_EQ(r.settingsFile, dir.path() / "MyBox.ini");
    EXPECT_TRUE(fs::exists(dir.path() / "MyBox.ini"));
    EXPECT_EQ(r.settings.skinName, "Default");
    EXPECT_FALSE(r.sorrelStarted);
    EXPECT_TRUE(launcher.started.empty());
}

TEST(StartMode, AFileNamedLikeAFolderCountsAndAnUncreatableFolderIsRecorded) {
    TempDir dir;
    std::ofstream(dir.path() / "Game") << "not a folder";
    fs::create_symlink(dir.path() / "nowhere" / "Html", dir.path() / "Html"); // dangling: cannot create
    RecordingLauncher launcher;
    IniFile ini;
    auto r = runStartSequence(dir.path(), "Brindle", launcher, ini);
    EXPECT_TRUE(fs::is_regular_file(dir.path() / "Game"));
    ASSERT_EQ(r.missingFolders.size(), 1u);
    EXPECT_EQ(r.missingFolders[0], dir.path() / "Html");
    EXPECT_EQ(r.settings.webBackColor, "#E1EAF6");
}

TEST(StartMode, WithoutASettingsFileTheDefaultsApply) {
    TempDir dir;
    fs::create_directory(dir.path() / "Brindle.ini"); // nothing can be written in its place
    RecordingLauncher launcher;
    IniFile ini;
    auto r = runStartSequence(dir.path(), "Brindle", launcher, ini);
    EXPECT_FALSE(r.settingsFileReady);
    EXPECT_EQ(r.settings.skinName, "Default");
    EXPECT_EQ(r.settings.tabColor, 1381653);
    EXPECT_EQ(r.settings.tabBackColor, 16181985);
    EXPECT_EQ(r.settings.webBackColor, "#E1EAF6");
}
