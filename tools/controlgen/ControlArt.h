#pragma once
// The look of one skin's control pictures: the search bar and its button, the 我的游戏 button, the paging
// bar's page number and arrow buttons, and the back and fore pictures of the app viewer's progress bar.
//
// The search bar stands on the main tab row and the paging buttons on the second row, so the
// pixels around their rounded shapes are taken from the rows' own background: column 0 of the
// row's Tab.bmp, stretched over the row as the tab strip draws it.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

struct ControlArt {
    QString name;
    QImage mainRow; // Tab.bmp of the main row and Tabs/Tab.bmp of the second row
    QImage subRow;
    QColor fieldBorder; // the search field
    QColor fieldIcon;
    QColor actionTop; // the search button's fill and border, in the caption band's colours
    QColor actionBottom;
    QColor actionBorder;
    QColor actionGlyph;
    QColor buttonTop; // the paging buttons
    QColor buttonBottom;
    QColor buttonBorder;
    QColor buttonText;
    QColor arrow;
    QColor troughTop; // the progress bar's empty part
    QColor troughBottom;
    QColor troughBorder;
    QColor fillTop; // its filled part
    QColor fillBottom;
    QColor fillBorder;

    QImage searchBar() const;      // SouSuo.bmp, 297 x 26
    QImage searchButton() const;   // SousuoCmd.bmp, 27 x 26
    QImage libraryButton() const;  // LibraryCmd.bmp, 96 x 26
    QImage pageButton() const;     // PagePic.bmp, 33 x 22
    QImage nextButton() const;     // NexitPic0.bmp, 65 x 22
    QImage previousButton() const; // NexitPic1.bmp, 65 x 22
    QImage progressBack() const;   // ProgressBack.bmp, 287 x 29
    QImage progressFore() const;   // ProgressFore.bmp, 287 x 29

  private:
    // A pill in the caption band's colours, for the search and 我的游戏 buttons.
    void drawActionPill(QPainter& p, const QRectF& r) const;
    QImage onRow(const QImage& row, int rowHeight, int top, QSize size) const;
    QImage arrowButton(bool next) const;
    QImage progress(bool filled) const;
};
