#include "base/Text.h"

#include <gtest/gtest.h>

using namespace base;

TEST(Text, CutsAtFirstOccurrenceAndKeepsWholeTextWhenMarkerMissing) {
    EXPECT_EQ(fromFirst("a<x>b<x>c", "<x>"), "<x>b<x>c");
    EXPECT_EQ(fromFirst("abc", "<x>"), "abc");
    EXPECT_EQ(beforeFirst("a<x>b<x>c", "<x>"), "a");
    EXPECT_EQ(beforeFirst("abc", "<x>"), "abc");
    EXPECT_EQ(beforeFirst("", "<x>"), "");
}

TEST(Text, ReplaceAllDoesNotRescanItsOwnOutput) {
    EXPECT_EQ(replaceAll("a&amp;b&amp;c", "amp;", ""), "a&b&c");
    EXPECT_EQ(replaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(replaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(replaceAll("amamp;p;", "amp;", ""), "amp;");
}

TEST(Text, CountsAndCutsWholeUtf8Characters) {
    EXPECT_EQ(charCount("默认Skin"), 6u);
    EXPECT_EQ(leftChars("默认Skin", 3), "默认S");
    EXPECT_EQ(leftChars("Default", 3), "Def");
    EXPECT_EQ(leftChars("Default", 70), "Default");
    EXPECT_EQ(leftChars("Default", 0), "");
    EXPECT_EQ(leftChars("Default", -2), "");
}

TEST(Text, TrimsAndComparesWithoutCase) {
    EXPECT_EQ(trimSpaces("  a b  "), "a b");
    EXPECT_EQ(trimSpaces(" \tx "), "\tx");
    EXPECT_EQ(trimBlanks(" \tx \t"), "x");
    EXPECT_EQ(trimBlanks("   "), "");
    EXPECT_TRUE(equalsNoCase("SkinName", "SKINNAME"));
    EXPECT_FALSE(equalsNoCase("Skin", "Skins"));
}

TEST(Text, SkipsOneWholeCharacterAfterAMarkerAndDropsOneWholeLastCharacter) {
    EXPECT_EQ(afterMarker("a href=\"x\" href='y'", "href="), "x\" href='y'");
    EXPECT_EQ(afterMarker("name:“名”", "name:"), "名”");
    EXPECT_EQ(afterMarker("name:", "name:"), std::nullopt); // nothing follows
    EXPECT_EQ(afterMarker("name:\"", "name:"), "");
    EXPECT_EQ(afterMarker("abc", "name:"), std::nullopt);
    EXPECT_EQ(withoutLastChar("名字”"), "名字");
    EXPECT_EQ(withoutLastChar("x"), "");
    EXPECT_EQ(withoutLastChar(""), "");
}
