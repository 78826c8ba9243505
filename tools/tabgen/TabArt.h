#pragma once
// The look of one skin's tab strips and the drawing of its Tab.bmp files.
//
// A Tab.bmp is 39 x 27: three 13 x 27 tab images side by side (under the mouse, current, current
// and under the mouse). The strip draws each image as a nine-grid with 7-pixel margins whose middle
// is column 6 stretched across, and uses column 0 of the first image for the strip background and
// every other tab (its top 26 rows stretched over the row, its last row along the bottom line). So
// every image keeps column 0 equal to the background, and column 6 holds the look of a tab's middle.

#include <QColor>
#include <QImage>
#include <QString>

struct TabArt {
    QString name;
    QColor bandTop; // strip background, top to bottom
    QColor bandBottom;
    QColor line; // the strip's bottom line
    QColor border;
    QColor hoverBorder;
    QColor currentTop; // the current tab's fill; its bottom is the page colour below the strip
    QColor currentBottom;
    QColor hoverTop;
    QColor hoverBottom;
    QColor accent; // the current tab's top edge
    QColor accentHover;

    // Tabs standing on the bottom line, the current one open towards the page (main rows).
    QImage rowBitmap() const;
    // Rounded pills inside the row (the second row of the catalogue window).
    QImage pillBitmap() const;

  private:
    enum class Cell { Hover, Current, CurrentHover };
    QImage background() const;
    QImage compose(bool pills) const;
    void drawRowTab(QImage& cell, Cell kind) const;
    void drawPill(QImage& cell, Cell kind) const;
};
