// Draws the tab strip bitmaps of the bundled skins: tabgen <Skin folder> writes, for every skin
// below, <folder>/<name>/Tab.bmp (main rows: the catalogue's areas and the app viewer's tabs) and
// <folder>/<name>/Tabs/Tab.bmp (the catalogue's second row). The colours match each skin's
// Skin.ini: the current tab ends in the skin's TabBackColor, the page colour under the strip.

#include "TabArt.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

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

bool write(const TabArt& art, const QDir& root) {
    if (!root.mkpath(art.name + "/Tabs")) return false;
    const QString folder = root.filePath(art.name);
    const bool row = art.rowBitmap().save(folder + "/Tab.bmp", "BMP");
    const bool pills = art.pillBitmap().save(folder + "/Tabs/Tab.bmp", "BMP");
    return row && pills;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tabgen <Skin folder>\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    for (const TabArt& art : {defaultTabs(), graphiteTabs()}) {
        if (!write(art, root)) {
            std::fprintf(stderr, "tabgen: cannot write the tab bitmaps of %s\n", qPrintable(art.name));
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
