// Draws the bundled skins into a Skin folder: skingen <folder> writes <folder>/<name>/main.bmp,
// SysButton.bmp and Skin.ini for every skin below. The tab bitmaps are drawn elsewhere.

#include "SkinArt.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

namespace {

// Colour integers have red in the lowest byte.
QString colorRef(const QColor& c) {
    return QString::number(c.red() | (c.green() << 8) | (c.blue() << 16));
}

SkinArt defaultSkin() {
    SkinArt a;
    a.name = "Default";
    a.outline = QColor("#1E4F8F");
    a.captionTop = QColor("#4A8FE0");
    a.captionBottom = QColor("#2D6CC0");
    a.highlight = QColor("#8DBDF5");
    a.border = QColor("#3A7BD0");
    a.content = QColor("#E1EAF6");
    a.glyph = QColor("#FFFFFF");
    a.hover = QColor("#5D9DEB");
    a.pressed = QColor("#1F558F");
    a.closeHover = QColor("#E0433B");
    a.closePressed = QColor("#A8281F");
    a.captionColor = "";
    a.tabColor = "1381653";
    a.tabBackColor = "16181985";
    a.webBackColor = "#E1EAF6";
    return a;
}

SkinArt graphiteSkin() {
    SkinArt a;
    a.name = "Graphite";
    a.outline = QColor("#15171B");
    a.captionTop = QColor("#3A3F47");
    a.captionBottom = QColor("#272B31");
    a.highlight = QColor("#5A616B");
    a.border = QColor("#2C3036");
    a.content = QColor("#EEF0F3");
    a.glyph = QColor("#D9DDE3");
    a.hover = QColor("#4B525C");
    a.pressed = QColor("#1B1E22");
    a.closeHover = QColor("#D9534F");
    a.closePressed = QColor("#9E2F2B");
    a.captionColor = colorRef(QColor("#F2C46D"));
    a.tabColor = colorRef(QColor("#2B2F36"));
    a.tabBackColor = colorRef(QColor("#EEF0F3"));
    a.webBackColor = "#EEF0F3";
    return a;
}

bool write(const SkinArt& art, const QDir& root) {
    if (!root.mkpath(art.name)) return false;
    const QString folder = root.filePath(art.name);
    QFile ini(folder + "/Skin.ini");
    bool ok = ini.open(QIODevice::WriteOnly | QIODevice::Truncate) && ini.write(art.skinIni().toUtf8()) > 0;
    ok = art.mainBitmap().save(folder + "/main.bmp", "BMP") && ok;
    ok = art.buttonBitmap().save(folder + "/SysButton.bmp", "BMP") && ok;
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: skingen <Skin folder>\n");
        return 2;
    }
    QDir root(QString::fromLocal8Bit(argv[1]));
    for (const SkinArt& art : {defaultSkin(), graphiteSkin()}) {
        if (!write(art, root)) {
            std::fprintf(stderr, "skingen: cannot write skin %s\n", qPrintable(art.name));
            return 1;
        }
    }
    return 0;
}
