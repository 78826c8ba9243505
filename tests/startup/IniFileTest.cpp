#include "startup/IniFile.h"

#include "FileBytes.h"
#include "TempDir.h"
#include "startup/PrivateProfile.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

struct IniFileTest : ::testing::Test {
    TempDir dir;
    fs::path file = dir.path() / "Test.ini";
    IniFile ini;
    void SetUp() override { ini.SpecifyIni(file.string()); }
};

} // namespace

TEST_F(IniFileTest, SpecifyIniDropsSurroundingSpaces) {
    writeBytes(file, "[Main]\nSkinName=Default\n");
    IniFile other;
    other.SpecifyIni("  " + file.string() + "  ");
    EXPECT_EQ(other.filePath(), file.string());
    EXPECT_EQ(other.ReadString("Main", "SkinName", 100), "Default");
}

TEST_F(IniFileTest, ReadStringTrimsUnquotesAndIgnoresCase) {
    writeBytes(file,
               "[Main]\r\nSkinName = Default \r\nQ1 = \"  spaced \" \r\nQ2='x'\r\nQ3=\"mixed'\r\nQ4=\"\r\n"
               "Empty =\r\n");
    EXPECT_EQ(ini.ReadString("main", "SKINNAME", 100), "Default");
    EXPECT_EQ(ini.ReadString("Main", "Q1", 100), "  spaced ");
    EXPECT_EQ(ini.ReadString("Main", "Q2", 100), "x");
    EXPECT_EQ(ini.ReadString("Main", "Q3", 100), "\"mixed'");
    EXPECT_EQ(ini.ReadString("Main", "Q4", 100), "\"");
    EXPECT_EQ(ini.ReadString("Main", "Empty", 100), "");
    EXPECT_EQ(ini.ReadString("Main", "Missing", 100), "");
    EXPECT_EQ(ini.ErrorMsg, "");
}

TEST_F(IniFileTest, ReadStringKeepsOnePlaceForTheTerminatorAndNeverSplitsACharacter) {
    writeBytes(file, "[A]\nv=12345678\nzh=中文皮肤名\n");
    EXPECT_EQ(ini.ReadString("A", "v", 5), "1234");
    EXPECT_EQ(ini.ReadString("A", "v", 9), "12345678");
    EXPECT_EQ(ini.ReadString("A", "v", 1), "");
    EXPECT_EQ(ini.ReadString("A", "v", 0), "");
    EXPECT_EQ(ini.ReadString("A", "v", -3), "");
    EXPECT_EQ(ini.ReadString("A", "zh", 3), "中文");
}

TEST_F(IniFileTest, MissingFileOrNoFileNamedReadsEmpty) {
    EXPECT_EQ(ini.ReadString("Main", "SkinName", 100), "");
    EXPECT_EQ(ini.ErrorMsg, "");
    IniFile unnamed;
    EXPECT_EQ(unnamed.ReadString("Main", "SkinName", 100), "");
    EXPECT_EQ(unnamed.ErrorMsg, "没有指定 INI 文件");
    EXPECT_FALSE(unnamed.WriteString("Main", "SkinName", "x"));
    EXPECT_EQ(unnamed.ReadInt("Main", "Len"), 0);
    EXPECT_EQ(unnamed.ErrorMsg, "不能读取");
    fs::create_directory(file);
    EXPECT_EQ(ini.ReadString("Main", "SkinName", 100), ""); // a folder in the file's place
}

TEST_F(IniFileTest, WriteCreatesFileSectionAndKeyAndKeepsTheRest) {
    ASSERT_TRUE(ini.WriteString("Main", "SkinName", "Blue"));
    EXPECT_EQ(readBytes(file), "[Main]\r\nSkinName=Blue\r\n");
    writeBytes(file, "; settings\n[main]\nskinname = Old\nLen = 3\n");
    ASSERT_TRUE(ini.WriteString("Main", "SkinName", "皮肤"));
    ASSERT_TRUE(ini.WriteString("Color", "TabColor", "255"));
    EXPECT_EQ(readBytes(file), "; settings\n[main]\nskinname=皮肤\nLen = 3\n[Color]\nTabColor=255\n");
    EXPECT_EQ(ini.ReadString("MAIN", "SkinName", 100), "皮肤");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST_F(IniFileTest, FailedWritesReportAndLeaveTheFileAlone) {
    IniFile inMissingFolder;
    inMissingFolder.SpecifyIni((dir.path() / "nope" / "a.ini").string());
    EXPECT_FALSE(inMissingFolder.WriteString("Main", "SkinName", "x"));
    EXPECT_EQ(inMissingFolder.ErrorMsg, "写入失败");
    EXPECT_FALSE(fs::exists(dir.path() / "nope"));

    writeBytes(file, "[Main]\nSkinName=Default\n");
    EXPECT_FALSE(ini.WriteString("Main", "SkinName", "a\r\n[Evil]\r\nx=1")); // would inject lines
    EXPECT_FALSE(ini.WriteString("Main", "Skin=Name", "x"));
    EXPECT_EQ(ini.ErrorMsg, "写入失败");
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(ini.WriteString("Main", "SkinName", "x"));
    EXPECT_EQ(readBytes(file), "[Main]\nSkinName=Default\n");

    // The file-named check clears the message again; ReadInt leaves it unless its key is missing.
    EXPECT_EQ(ini.ReadString("Main", "SkinName", 100), "Default");
    EXPECT_EQ(ini.ErrorMsg, "");
}

TEST_F(IniFileTest, WriteKeepsTheFilesModeAndWritesThroughALink) {
    auto real = dir.path() / "real.ini";
    writeBytes(real, "[Main]\nLen=7\n");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(real, file);
    ASSERT_TRUE(ini.WriteString("Main", "Len", "4"));
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(readBytes(real), "[Main]\nLen=4\n");
    EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(IniFileTest, ReadIntTellsARealZeroFromAMissingKey) {
    writeBytes(file,
               "[N]\nzero=0\none=1\nneg=-5\nmixed=255abc\nhex=0x1F\nletters=abc\nempty=\nbig=4294967297\n");
    ini.ErrorMsg = "before";
    EXPECT_EQ(ini.ReadInt("N", "zero"), 0);
    EXPECT_EQ(ini.ErrorMsg, "before");
    EXPECT_EQ(ini.ReadInt("N", "one"), 1);
    EXPECT_EQ(ini.ReadInt("N", "neg"), -5);
    EXPECT_EQ(ini.ReadInt("N", "mixed"), 255);
    EXPECT_EQ(ini.ReadInt("N", "hex"), 31);
    EXPECT_EQ(ini.ReadInt("N", "letters"), 0); // Windows reads no digits as 0, not as missing
    EXPECT_EQ(ini.ErrorMsg, "before");
    EXPECT_EQ(ini.ReadInt("N", "big"), 1); // wraps at 32 bits
    EXPECT_EQ(ini.ReadInt("N", "empty"), 0);
    EXPECT_EQ(ini.ErrorMsg, "不能读取");
    ini.ErrorMsg.clear();
    EXPECT_EQ(ini.ReadInt("N", "missing"), 0);
    EXPECT_EQ(ini.ErrorMsg, "不能读取");
}

TEST(PrivateProfile, DefaultLosesTrailingBlanksAndIsCutLikeAValue) {
    TempDir dir;
    EXPECT_EQ(startup::getPrivateProfileString("A", "k", "  dflt  ", 100, dir.path() / "none.ini"), "  dflt");
    EXPECT_EQ(startup::getPrivateProfileString("A", "k", "dflt", 3, dir.path() / "none.ini"), "df");
    EXPECT_EQ(startup::getPrivateProfileString("A", "k", "   ", 100, dir.path() / "none.ini"), "");
}

TEST(PrivateProfile, IntegerTextFollowsTheWindowsConversion) {
    EXPECT_EQ(startup::profileTextToInt("  +42"), 42);
    EXPECT_EQ(startup::profileTextToInt("-0x10"), -16);
    EXPECT_EQ(startup::profileTextToInt("0b101"), 5);
    EXPECT_EQ(startup::profileTextToInt("0o17"), 15);
    EXPECT_EQ(startup::profileTextToInt("12.5"), 12);
    EXPECT_EQ(startup::profileTextToInt("4294967295"), -1);
    EXPECT_EQ(startup::profileTextToInt("x1"), 0);
}
