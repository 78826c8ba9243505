#include "startup/IniDocument.h"

#include <gtest/gtest.h>

using startup::IniDocument;

TEST(IniDocument, FindsValuesLikeThePrivateProfileRead) {
    IniDocument doc("\xEF\xBB\xBF; comment=1\r\n"
                    "[ main ]\r\n"
                    "SkinName = Default \r\n"
                    "no equals sign here\r\n"
                    ";Len=3\r\n"
                    "Len = 7\r\n"
                    "len = 9\r\n"
                    "[Color]\r\n"
                    "\tTabColor\t=\t1381653\r\n"
                    "[MAIN]\r\n"
                    "Extra = only in the second Main\r\n");
    EXPECT_EQ(doc.find("Main", "skinname"), "Default");
    EXPECT_EQ(doc.find("MAIN", "LEN"), "7"); // first key wins
    EXPECT_EQ(doc.find("color", "TabColor"), "1381653");
    EXPECT_EQ(doc.find("Main", "Extra"), std::nullopt); // only the first section counts
    EXPECT_EQ(doc.find("Main", "no equals sign here"), std::nullopt);
    EXPECT_EQ(doc.find("Main", ";Len"), std::nullopt);
    EXPECT_EQ(doc.find("Missing", "Len"), std::nullopt);
}

TEST(IniDocument, UpdatesOnlyTheFirstEntryAndKeepsEveryOtherByte) {
    std::string text = "\xEF\xBB\xBF[Main]\r\n; keep me\r\nSkinName = Default \r\nskinname = second\r\n\r\n"
                       "[Color]\r\nTabColor = 1\r\n";
    IniDocument doc(text);
    doc.set("MAIN", "SKINNAME", "Blue");
    EXPECT_EQ(doc.bytes(), "\xEF\xBB\xBF[Main]\r\n; keep me\r\nSkinName=Blue\r\nskinname = second\r\n\r\n"
                           "[Color]\r\nTabColor = 1\r\n");
}

TEST(IniDocument, AddsKeysAfterTheSectionsLastLineAndSectionsAtTheEnd) {
    IniDocument lf("[A]\nx=1\n\n[B]\ny=2");
    lf.set("a", "z", "3");
    lf.set("B", "w", "4");
    lf.set("C", "v", "5");
    EXPECT_EQ(lf.bytes(), "[A]\nx=1\nz=3\n\n[B]\ny=2\nw=4\n[C]\nv=5\n");

    IniDocument empty("");
    empty.set("Main", "SkinName", "Default");
    EXPECT_EQ(empty.bytes(), "[Main]\r\nSkinName=Default\r\n");

    IniDocument headerOnly("[Main]");
    headerOnly.set("Main", "Len", "7");
    EXPECT_EQ(headerOnly.bytes(), "[Main]\r\nLen=7\r\n");
}
