#pragma once
// The look of one bundled skin and the drawing of its frame and caption-button bitmaps.

#include <QColor>
#include <QImage>
#include <QString>

struct SkinArt {
    QString name;
    QColor outline;    // 1-pixel line around the window
    QColor captionTop; // caption band gradient
    QColor captionBottom;
    QColor highlight; // bright line under the outline at the top
    QColor border;    // side and bottom border inside the outline
    QColor content;   // content area
    QColor glyph;     // button symbols
    QColor hover;     // button backgrounds under the mouse and pressed
    QColor pressed;
    QColor closeHover;
    QColor closePressed;
    QString captionColor; // Skin.ini value, empty for white
    QString tabColor, tabBackColor, webBackColor;

    QImage mainBitmap() const;
    QImage buttonBitmap() const;
    QString skinIni() const;

  private:
    QColor captionAt(int y) const;
};
