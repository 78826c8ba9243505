#include "catalogue/SkinMenuItems.h"

#include "TempDir.h"
#include "base/AtomicFile.h"

#include <gtest/gtest.h>

namespace {

std::string describe(const std::vector<SkinMenuItem>& items) {
    std::string text;
    for (const auto& item : items)
        text += item.caption + (item.enabled ? "" : "(off)") + (item.checked ? "(v)" : "") + ";";
    return text;
}

} // namespace

TEST(SkinMenuItems, HeadingThenEveryFolderAndFileWithTheCurrentSkinChecked) {
    TempDir dir;
    for (const char* folder : {"Graphite", "Default", "apple", "经典"})
        std::filesystem::create_directory(dir.path() / folder);
    base::writeFileAtomic(dir.path() / "readme.txt", "a plain file is listed too");
    EXPECT_EQ(describe(skinMenuItems(dir.path(), "Graphite")),
              "皮肤列表(off);apple;Default;Graphite(v);readme.txt;经典;");
    // The check mark needs the exact name.
    EXPECT_EQ(describe(skinMenuItems(dir.path(), "graphite")),
              "皮肤列表(off);apple;Default;Graphite;readme.txt;经典;");
}

TEST(SkinMenuItems, AMissingFolderGivesTheHeadingAlone) {
    TempDir dir;
    EXPECT_EQ(describe(skinMenuItems(dir.path() / "Skin", "Default")), "皮肤列表(off);");
    base::writeFileAtomic(dir.path() / "Skin", "");
    EXPECT_EQ(describe(skinMenuItems(dir.path() / "Skin", "Default")), "皮肤列表(off);");
}
