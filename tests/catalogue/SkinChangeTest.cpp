#include "catalogue/SkinChange.h"

#include "LoopbackServer.h"
#include "TempDir.h"
#include "base/AtomicFile.h"
#include "startup/FileBytes.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

const std::string kHomeStart = "<div class=\"container-coloum-1\">";
const std::string kHomeEnd = "<div class=\"container-coloum-2 clearfix index-bottom\">";

class SkinChangeTest : public ::testing::Test {
  protected:
    SkinChangeTest() {
        store.routes().Get("/", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(kHomeStart + "<p>首页应用</p>" + kHomeEnd, "text/html; charset=utf-8");
        });
        store.start();
        fs::create_directories(app / "Html");
        skin("Default",
             "[Color]\r\nTabColor = 1381653\r\nTabBackColor = 16181985\r\nWebBackColor = #E1EAF6\r\n");
        skin("Sky", "[Color]\r\nTabColor=255\r\nTabBackColor=65280\r\nWebBackColor=#E1EAF6\r\n");
        skin("Night", "[Color]\r\nTabColor = 1\r\nTabBackColor = 2\r\nWebBackColor = #202020\r\n");
        for (const char* page : {"HomeAll.html", "GameAllPage.html", "Old.HTML", "notes.txt"})
            base::writeFileAtomic(app / "Html" / page, "cached");
        fs::create_directory(app / "Html" / "sub.html");
        base::writeFileAtomic(settings, "[Main]\r\nSkinName = Default \r\nLen = 7\r\n");
    }

    void skin(const std::string& name, const std::string& ini) {
        fs::create_directories(app / "Skin" / name);
        base::writeFileAtomic(app / "Skin" / name / "Skin.ini", ini);
    }

    SkinChange change() const {
        return SkinChange(app, settings, "Default", "#E1EAF6", {app / "Html", store.site(), store.site()});
    }

    std::vector<std::string> cache() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(app / "Html"))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    LoopbackServer store;
    TempDir dir;
    fs::path app = dir.path();
    fs::path settings = app / "Brindle.ini";
};

} // namespace

TEST_F(SkinChangeTest, TheCurrentSkinChangesNothing) {
    EXPECT_EQ(change().apply("Default").result, SkinChange::Result::SameSkin);
    EXPECT_EQ(readBytes(settings), "[Main]\r\nSkinName = Default \r\nLen = 7\r\n");
    EXPECT_EQ(cache().size(), 5u);
}

TEST_F(SkinChangeTest, TheSamePageColourRewritesTheSettingsAndKeepsTheCache) {
    const auto outcome = change().apply("Sky");
    EXPECT_EQ(outcome.result, SkinChange::Result::Changed);
    EXPECT_FALSE(outcome.pageColourChanged);
    EXPECT_EQ(readBytes(settings), "[Main]\r\nSkinName = Sky\r\nLen = 3\r\n[Color]\r\nTabColor = 255\r\n"
                                   "TabBackColor = 65280\r\nWebBackColor = #E1EAF6\r\n\r\n");
    EXPECT_EQ(cache().size(), 5u);
}

TEST_F(SkinChangeTest, AnotherPageColourEmptiesTheCacheAndRebuildsTheHomePage) {
    const auto outcome = change().apply("Night");
    EXPECT_TRUE(outcome.pageColourChanged);
    EXPECT_EQ(cache().size(), 5u);
    EXPECT_TRUE(change().refreshPageCache(outcome.webBackColor));
    EXPECT_EQ(cache(), (std::vector<std::string>{"HomeAll.html", "notes.txt", "sub.html"}));
    const auto home = readBytes(app / "Html" / "HomeAll.html");
    EXPECT_NE(home.find("bgcolor=#202020"), std::string::npos) << home;
    EXPECT_NE(home.find("首页应用"), std::string::npos);
}

TEST_F(SkinChangeTest, ASkinWithoutColoursWritesEmptyColoursAndCountsCharactersForLen) {
    skin("经典蓝", "[Main]\r\nTopLeft = 10\r\n");
    store.stop();
    const auto outcome = change().apply("经典蓝");
    EXPECT_EQ(outcome.result, SkinChange::Result::Changed);
    EXPECT_TRUE(outcome.pageColourChanged); // the empty colour differs from the old one
    EXPECT_EQ(outcome.webBackColor, "");
    EXPECT_FALSE(change().refreshPageCache(outcome.webBackColor)); // the store is gone
    EXPECT_EQ(cache(), (std::vector<std::string>{"notes.txt", "sub.html"}));
    EXPECT_EQ(readBytes(settings), "[Main]\r\nSkinName = 经典蓝\r\nLen = 3\r\n[Color]\r\nTabColor = \r\n"
                                   "TabBackColor = \r\nWebBackColor = \r\n\r\n");
}

TEST_F(SkinChangeTest, AnEntryWithoutSkinIniIsRefusedAndChangesNothing) {
    fs::create_directories(app / "Skin" / "Empty");
    base::writeFileAtomic(app / "Skin" / "readme.txt", "not a skin");
    for (const char* entry : {"Empty", "readme.txt", "Missing"})
        EXPECT_EQ(change().apply(entry).result, SkinChange::Result::NotASkin) << entry;
    EXPECT_EQ(readBytes(settings), "[Main]\r\nSkinName = Default \r\nLen = 7\r\n");
    EXPECT_EQ(cache().size(), 5u);
}

TEST_F(SkinChangeTest, ASettingsFileThatCannotBeWrittenStopsBeforeTheCacheIsTouched) {
    fs::permissions(settings, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(change().apply("Night").result, SkinChange::Result::SettingsNotWritten);
    EXPECT_EQ(readBytes(settings), "[Main]\r\nSkinName = Default \r\nLen = 7\r\n");
    EXPECT_EQ(cache().size(), 5u);

    fs::remove(settings);
    fs::create_directory(settings);
    EXPECT_EQ(change().apply("Night").result, SkinChange::Result::SettingsNotWritten);
    EXPECT_EQ(cache().size(), 5u);

    // A name with a line break would smuggle lines into the file.
    fs::remove(settings);
    EXPECT_EQ(change().apply("Night\r\n[Main]").result, SkinChange::Result::SettingsNotWritten);
    EXPECT_FALSE(fs::exists(settings));
}
