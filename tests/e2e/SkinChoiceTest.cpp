// The skin menu and the skin change in the catalogue window against the built appstore, with the
// shipped skins plus a skin "Sky" of Default's page colour and a plain file in the Skin folder.

#include "CatalogueWindow.h"
#include "StoreProcess.h"
#include "base/AtomicFile.h"
#include "catalogue/PendingStart.h"
#include "catalogue/qt/FrameReskin.h"
#include "catalogue/qt/SkinMenu.h"
#include "pages/Catalogue.h"
#include "skin/qt/DirectUI.h"
#include "skin/qt/ShowSkinMenu.h"
#include "startup/FileBytes.h"
#include "startup/Servers.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class SkinChoiceTest : public ::testing::Test {
  protected:
    SkinChoiceTest() : app(store.site()) {
        fs::copy(app.folder() / "Skin" / "Default", app.folder() / "Skin" / "Sky",
                 fs::copy_options::recursive);
        base::writeFileAtomic(app.folder() / "Skin" / "readme.txt", "not a skin");
        for (const char* page : {"GameAll.html", "GameAllPage.html", "Video1.HTML"})
            base::writeFileAtomic(app.folder() / "Html" / page, "cached");
    }

    // Opens the window with its skin menu, as the program wires them.
    SkinMenu& open() {
        MainFrm& window = app.open();
        const Servers servers = Servers::read(app.folder());
        menu = new SkinMenu(
            &window,
            SkinChange(app.folder(), app.settingsFile(), app.settings().skinName, app.settings().webBackColor,
                       {Catalogue::htmlFolder(app.folder()), servers.site, servers.staticHost}),
            app.folder() / "Brindle");
        menu->fill(app.folder() / "Skin", app.settings().skinName);
        QObject::connect(menu, &SkinMenu::pageCacheRefreshing, &window, &MainFrm::StopPageBuilds);
        skin::setSkinMenuHandler([this] { menu->popupAtMouse(); });
        return *menu;
    }

    int itemOf(const QString& caption) const {
        const auto items = menu->actions();
        for (int i = 0; i < items.size(); ++i)
            if (items[i]->text() == caption) return i;
        return -1;
    }

    bool cached(const char* page) const { return fs::exists(app.folder() / "Html" / page); }

    ~SkinChoiceTest() override { skin::setSkinMenuHandler({}); }

    StoreProcess store;
    CatalogueWindow app;
    SkinMenu* menu = nullptr;
};

std::string describe(const QMenu& menu) {
    std::string text;
    for (const QAction* item : menu.actions())
        text += item->text().toStdString() + (item->isEnabled() ? "" : "(off)") +
                (item->isChecked() ? "(v)" : "") + ";";
    return text;
}

} // namespace

TEST_F(SkinChoiceTest, TheSkinButtonPopsUpTheMenuOfEveryEntryWithTheCurrentSkinChecked) {
    SkinMenu& skins = open();
    EXPECT_EQ(describe(skins), "皮肤列表(off);Default(v);Graphite;readme.txt;Sky;");
    skin::ShowSkinMenu();
    EXPECT_TRUE(waitFor([&] { return skins.isVisible(); }));
    skins.hide();

    // The checked skin and the heading change nothing.
    skins.itemClicked(itemOf("Default"));
    skins.itemClicked(0);
    EXPECT_FALSE(app.unloaded());
    EXPECT_EQ(readBytes(app.settingsFile()), defaultSettingsText());
}

TEST_F(SkinChoiceTest, TheSamePageColourKeepsTheCacheAndRestartsWithTheNewSkin) {
    SkinMenu& skins = open();
    QSignalSpy restart(&skins, &SkinMenu::restartRequested);
    skins.itemClicked(itemOf("Sky"));
    EXPECT_TRUE(waitFor([&] { return app.unloaded(); }));
    EXPECT_EQ(restart.count(), 1);
    EXPECT_EQ(PendingStart::take(), app.folder() / "Brindle");
    EXPECT_EQ(readBytes(app.settingsFile()),
              "[Main]\r\nSkinName = Sky\r\nLen = 3\r\n[Color]\r\nTabColor = 1381653\r\n"
              "TabBackColor = 16181985\r\nWebBackColor = #E1EAF6\r\n\r\n");
    EXPECT_TRUE(cached("GameAll.html"));
    EXPECT_TRUE(cached("Video1.HTML"));
    EXPECT_TRUE(app.messages().isEmpty());
}

TEST_F(SkinChoiceTest, AnotherPageColourEmptiesTheCacheRebuildsTheHomeAndTheNextStartUsesTheSkin) {
    open().itemClicked(itemOf("Graphite"));
    EXPECT_TRUE(waitFor([&] { return app.unloaded(); }));
    EXPECT_EQ(PendingStart::take(), app.folder() / "Brindle");
    EXPECT_FALSE(cached("GameAll.html"));
    EXPECT_FALSE(cached("GameAllPage.html"));
    EXPECT_FALSE(cached("Video1.HTML"));
    const auto home = readBytes(app.folder() / "Html" / "HomeAll.html");
    EXPECT_NE(home.find("bgcolor=#EEF0F3"), std::string::npos) << home.substr(0, 400);

    // What the restarted program reads: the new skin, its tab colours and its page colour.
    SkinMenu& next = open();
    EXPECT_EQ(app.settings().skinName, "Graphite");
    EXPECT_EQ(app.settings().tabColor, 3551019);
    EXPECT_EQ(app.settings().webBackColor, "#EEF0F3");
    EXPECT_EQ(describe(next), "皮肤列表(off);Default;Graphite(v);readme.txt;Sky;");
}

TEST_F(SkinChoiceTest, ASettingsFileThatCannotBeWrittenStopsTheChangeWithAMessage) {
    SkinMenu& skins = open();
    fs::permissions(app.settingsFile(),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    skins.itemClicked(itemOf("Graphite"));
    EXPECT_EQ(app.messages(), QStringList({SkinMenu::NotWrittenMessage}));
    EXPECT_FALSE(app.unloaded());
    EXPECT_TRUE(app.window().isVisible());
    EXPECT_EQ(PendingStart::take(), std::nullopt);
    EXPECT_TRUE(cached("GameAll.html"));
    EXPECT_EQ(readBytes(app.settingsFile()), defaultSettingsText());
}

TEST_F(SkinChoiceTest, TheHiddenFrameReskinSkinsTheFrameAloneWithTheTypedName) {
    open();
    MainFrm& window = app.window();
    FrameReskin* reskin = window.frameReskin();
    ASSERT_NE(reskin, nullptr);
    EXPECT_FALSE(reskin->Command1()->isVisible());
    EXPECT_FALSE(reskin->SkinList()->isVisible());
    EXPECT_EQ(reskin->Command1()->text(), "换肤");
    EXPECT_EQ(reskin->SkinList()->currentText(), "Combo1");
    EXPECT_EQ(reskin->Command1()->geometry(), QRect(360, 0, 65, 33));

    ASSERT_EQ(window.DirectUI()->skinFolder().filename(), "Default");
    reskin->SkinList()->setEditText("Graphite");
    reskin->Command1()->click();
    ASSERT_NE(window.DirectUI(), nullptr);
    EXPECT_EQ(window.DirectUI()->skinFolder().filename(), "Graphite");
    EXPECT_EQ(readBytes(app.settingsFile()), defaultSettingsText());
    EXPECT_TRUE(cached("GameAll.html"));
    EXPECT_FALSE(app.unloaded());
}
