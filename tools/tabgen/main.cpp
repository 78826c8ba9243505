// Draws the tab strip bitmaps of the bundled skins: tabgen <Skin folder> writes, for every skin
// below, <folder>/<name>/Tab.bmp (main rows: the catalogue's areas and the app viewer's tabs) and
// <folder>/<name>/Tabs/Tab.bmp (the catalogue's second row). The colours match each skin's
// Skin.ini: the current tab ends in the skin's TabBackColor, the page colour under the strip.

#include "SkinFolder.h"
#include "TabArt.h"

namespace {

TabArt defaultTabs() {
    TabArt a;
    a.name = "Default";
    a.bandTop = QColor("#F7FAFE");
    a.bandBottom = QColor("#D3E1F3");
    a.line = QColor("#9FB7D8");
    a.border = QColor("#8AA6CE");
    a.hoverBorder = QColor("#A9C2E3");
    a.currentTop = QColor("#FFFFFF");
    a.currentBottom = QColor("#E1EAF6");
    a.hoverTop = QColor("#FFFFFF");
    a.hoverBottom = QColor("#E8F1FC");
    a.accent = QColor("#2D6CC0");
    a.accentHover = QColor("#4A8FE0");
    return a;
}

TabArt graphiteTabs() {
    TabArt a;
    a.name = "Graphite";
    a.bandTop = QColor("#FBFBFC");
    a.bandBottom = QColor("#DDE0E5");
    a.line = QColor("#AEB3BB");
    a.border = QColor("#9AA0A9");
    a.hoverBorder = QColor("#BCC1C8");
    a.currentTop = QColor("#FFFFFF");
    a.currentBottom = QColor("#EEF0F3");
    a.hoverTop = QColor("#FFFFFF");
    a.hoverBottom = QColor("#F0F1F3");
    a.accent = QColor("#D9A441");
    a.accentHover = QColor("#F2C46D");
    return a;
}

} // namespace

int main(int argc, char** argv) {
    return runSkinGenerator(argc, argv, "tabgen", [](SkinFolder& folder) {
        for (const TabArt& art : {defaultTabs(), graphiteTabs()}) {
            folder.writeBitmap(art.name + "/Tab.bmp", art.rowBitmap());
            folder.writeBitmap(art.name + "/Tabs/Tab.bmp", art.pillBitmap());
        }
    });
}
