#include "startup/Settings.h"

#include "FileBytes.h"
#include "TempDir.h"
#include "startup/IniFile.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

Settings settingsOf(const fs::path& file, std::string_view text) {
    writeBytes(file, text);
    IniFile ini;
    ini.SpecifyIni(file.string());
    return readSettings(ini);
}

} // namespace

TEST(Settings, DefaultFileIsByteForByteAndReadsAsTheDefaults) {
    TempDir dir;
    auto file = dir.path() / "Brindle.ini";
    ASSERT_TRUE(ensureSettingsFile(file));
    EXPECT_EQ(readBytes(file), "[Main]\r\nSkinName = Default \r\nLen = 7\r\n[Color]\r\nTabColor = 1381653\r\n"
                               "TabBackColor = 16181985\r\nWebBackColor = #E1EAF6\r\n\r\n");
    IniFile ini;
    ini.SpecifyIni(file.string());
    auto s = readSettings(ini);
    EXPECT_EQ(s.skinName, "Default");
    EXPECT_EQ(s.tabColor, 1381653);
    EXPECT_EQ(s.tabBackColor, 16181985);
    EXPECT_EQ(s.webBackColor, "#E1EAF6");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(Settings, AnExistingFileIsNeverRewritten) {
    TempDir dir;
    auto file = dir.path() / "Brindle.ini";
    writeBytes(file, "[Main]\nSkinName=Blue\n");
    EXPECT_TRUE(ensureSettingsFile(file));
    EXPECT_EQ(readBytes(file), "[Main]\nSkinName=Blue\n");
    fs::create_directory(dir.path() / "Folder.ini");
    EXPECT_FALSE(ensureSettingsFile(dir.path() / "Folder.ini"));
    EXPECT_FALSE(ensureSettingsFile(dir.path() / "missing" / "Brindle.ini"));
}

TEST(Settings, ColoursTakeTheLeadingNumberRoundedHalfToEven) {
    TempDir dir;
    auto s = settingsOf(dir.path() / "a.ini", "[Color]\nTabColor=255abc\nTabBackColor=12.5\n");
    EXPECT_EQ(s.tabColor, 255);
    EXPECT_EQ(s.tabBackColor, 12);
    s = settingsOf(dir.path() / "a.ini", "[Color]\nTabColor=red\nTabBackColor=13.5\nWebBackColor = 'x' \n");
    EXPECT_EQ(s.tabColor, 0);
    EXPECT_EQ(s.tabBackColor, 14);
    EXPECT_EQ(s.webBackColor, "x");
    s = settingsOf(dir.path() / "a.ini", "");
    EXPECT_EQ(s.tabColor, 0);
    EXPECT_EQ(s.webBackColor, "");
}

TEST(Settings, LenCutsTheSkinNameOnlyWhenItIsAUsableLength) {
    TempDir dir;
    auto file = dir.path() / "a.ini";
    auto skin = [&](std::string_view len) {
        return settingsOf(file, "[Main]\nSkinName = 蓝色天空 \n" + std::string(len)).skinName;
    };
    EXPECT_EQ(skin("Len = 2\n"), "蓝色");
    EXPECT_EQ(skin("Len = 2.5\n"), "蓝色");
    EXPECT_EQ(skin("Len = 3.5\n"), "蓝色天空");
    EXPECT_EQ(skin("Len = 40\n"), "蓝色天空");
    EXPECT_EQ(skin("Len = 0\n"), "");
    // Values that cannot be a length keep the whole name.
    EXPECT_EQ(skin(""), "蓝色天空");
    EXPECT_EQ(skin("Len =\n"), "蓝色天空");
    EXPECT_EQ(skin("Len = -1\n"), "蓝色天空");
    EXPECT_EQ(skin("Len = seven\n"), "蓝色天空");
}
