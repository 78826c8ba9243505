// Draws the control pictures of the bundled skins: controlgen <Skin folder> writes, for every skin
// below, SouSuo.bmp, SousuoCmd.bmp, LibraryCmd.bmp, PagePic.bmp, NexitPic0.bmp, NexitPic1.bmp,
// ProgressBack.bmp and ProgressFore.bmp into <folder>/<name>/. It reads the skin's tab bitmaps, so tabgen
// runs first.

#include "ControlArt.h"
#include "SkinFolder.h"

namespace {

ControlArt defaultControls(SkinFolder& folder) {
    ControlArt a;
    a.name = "Default";
    a.mainRow = folder.readBitmap("Default/Tab.bmp");
    a.subRow = folder.readBitmap("Default/Tabs/Tab.bmp");
    a.fieldBorder = QColor("#8AA6CE");
    a.fieldIcon = QColor("#9DB9DE");
    a.actionTop = QColor("#4A8FE0");
    a.actionBottom = QColor("#2D6CC0");
    a.actionBorder = QColor("#1E4F8F");
    a.actionGlyph = QColor("#FFFFFF");
    a.buttonTop = QColor("#FFFFFF");
    a.buttonBottom = QColor("#E3EDFA");
    a.buttonBorder = QColor("#9FB7D8");
    a.buttonText = QColor("#1E4F8F");
    a.arrow = QColor("#2D6CC0");
    a.troughTop = QColor("#C9D6E8");
    a.troughBottom = QColor("#F3F7FC");
    a.troughBorder = QColor("#8AA6CE");
    a.fillTop = QColor("#A9D0FA");
    a.fillBottom = QColor("#5D9DEB");
    a.fillBorder = QColor("#1E4F8F");
    return a;
}

ControlArt graphiteControls(SkinFolder& folder) {
    ControlArt a;
    a.name = "Graphite";
    a.mainRow = folder.readBitmap("Graphite/Tab.bmp");
    a.subRow = folder.readBitmap("Graphite/Tabs/Tab.bmp");
    a.fieldBorder = QColor("#9AA0A9");
    a.fieldIcon = QColor("#D9A441");
    a.actionTop = QColor("#3A3F47");
    a.actionBottom = QColor("#272B31");
    a.actionBorder = QColor("#15171B");
    a.actionGlyph = QColor("#F2C46D");
    a.buttonTop = QColor("#FFFFFF");
    a.buttonBottom = QColor("#E8EAEE");
    a.buttonBorder = QColor("#AEB3BB");
    a.buttonText = QColor("#2B2F36");
    a.arrow = QColor("#D9A441");
    a.troughTop = QColor("#D3D7DD");
    a.troughBottom = QColor("#F6F7F9");
    a.troughBorder = QColor("#8C939D");
    a.fillTop = QColor("#F7D58F");
    a.fillBottom = QColor("#D9A441");
    a.fillBorder = QColor("#9E7424");
    return a;
}

} // namespace

int main(int argc, char** argv) {
    return runSkinGenerator(argc, argv, "controlgen", [](SkinFolder& folder) {
        for (const ControlArt& art : {defaultControls(folder), graphiteControls(folder)}) {
            if (art.mainRow.isNull() || art.subRow.isNull()) continue;
            folder.writeBitmap(art.name + "/SouSuo.bmp", art.searchBar());
            folder.writeBitmap(art.name + "/SousuoCmd.bmp", art.searchButton());
            folder.writeBitmap(art.name + "/LibraryCmd.bmp", art.libraryButton());
            folder.writeBitmap(art.name + "/PagePic.bmp", art.pageButton());
            folder.writeBitmap(art.name + "/NexitPic0.bmp", art.nextButton());
            folder.writeBitmap(art.name + "/NexitPic1.bmp", art.previousButton());
            folder.writeBitmap(art.name + "/ProgressBack.bmp", art.progressBack());
            folder.writeBitmap(art.name + "/ProgressFore.bmp", art.progressFore());
        }
    });
}
