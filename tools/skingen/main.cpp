// Draws the bundled skins into a Skin folder: skingen <folder> writes <folder>/<name>/main.bmp,
// SysButton.bmp and Skin.ini for every skin below. The tab bitmaps are drawn elsewhere.

#include "SkinArt.h"
#include "SkinFolder.h"
#include "base/ColorRef.h"

namespace {

// The Skin.ini text of a colour: its colour integer.
QString colorRef(const QColor& c) {
    return QString::number(base::colorRef(c.red(), c.green(), c.blue()));
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

} // namespace

int main(int argc, char** argv) {
    return runSkinGenerator(argc, argv, "skingen", [](SkinFolder& folder) {
        for (const SkinArt& art : {defaultSkin(), graphiteSkin()}) {
            folder.writeText(art.name + "/Skin.ini", art.skinIni());
            folder.writeBitmap(art.name + "/main.bmp", art.mainBitmap());
            folder.writeBitmap(art.name + "/SysButton.bmp", art.buttonBitmap());
        }
    });
}
