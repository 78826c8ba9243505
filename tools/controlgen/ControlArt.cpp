#include "ControlArt.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

// Where the pictures stand on their rows (pixels): the search bar 43 pixels below the top of the
// 75-pixel main row (window tops 1050 and 405 twips), the paging buttons 3 pixels below the top of
// the 30-pixel second row (top 45 twips).
constexpr int MainRowHeight = 75, SearchBarTop = 43, LibraryButtonTop = 11;
constexpr int SubRowHeight = 30, PagingTop = 3;

const QSize SearchBarSize(297, 26), SearchButtonSize(27, 26), LibraryButtonSize(96, 26);
const QSize PageButtonSize(33, 22), ArrowButtonSize(65, 22);
const QSize ProgressSize(287, 29);

QLinearGradient vertical(const QColor& top, const QColor& bottom, qreal from, qreal to) {
    QLinearGradient g(0, from, 0, to);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

QPainterPath rounded(const QRectF& r, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

QImage filled(QSize size, const QColor& colour) {
    QImage image(size, QImage::Format_RGB32); // saved as a 24-bit BMP
    image.fill(colour);
    return image;
}

// A flat button face: light gradient, a bright line under the top edge and a thin border.
void drawButtonFace(QPainter& p, QSize size, const ControlArt& art) {
    const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
    p.setPen(QPen(art.buttonBorder, 1));
    p.setBrush(vertical(art.buttonTop, art.buttonBottom, 0, size.height()));
    p.drawPath(rounded(r, 4));
    p.setPen(QPen(QColor(255, 255, 255, 170), 1));
    p.drawLine(QPointF(3, 1.5), QPointF(size.width() - 3, 1.5));
}

} // namespace

QImage ControlArt::onRow(const QImage& row, int rowHeight, int top, QSize size) const {
    // The strip stretches the top rows of column 0 (all but the last) over its row, all but the
    // row's last line, which takes the bitmap's last row.
    QImage image = filled(size, Qt::white);
    const int stretched = row.height() - 1;
    for (int y = 0; y < size.height(); ++y) {
        const int r = top + y;
        const int source = r >= rowHeight - 1 ? stretched : (2 * r + 1) * stretched / (2 * (rowHeight - 1));
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, row.pixel(0, source));
    }
    return image;
}

QImage ControlArt::searchBar() const {
    QImage image = onRow(mainRow, MainRowHeight, SearchBarTop, SearchBarSize);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal h = SearchBarSize.height() - 1;
    p.setPen(QPen(fieldBorder, 1));
    p.setBrush(vertical(QColor("#EEF2F7"), Qt::white, 0, 6));
    p.drawPath(rounded(QRectF(0.5, 0.5, SearchBarSize.width() - 1, h), h / 2));
    // Four small tiles before the text: the store's apps.
    p.setPen(Qt::NoPen);
    p.setBrush(fieldIcon);
    for (int i = 0; i < 4; ++i)
        p.drawRoundedRect(QRectF(9 + (i % 2) * 5.5, 8 + (i / 2) * 5.5, 4, 4), 1, 1);
    return image;
}

void ControlArt::drawActionPill(QPainter& p, const QRectF& r) const {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(actionBorder, 1));
    p.setBrush(vertical(actionTop, actionBottom, 0, r.height()));
    p.drawPath(rounded(r, r.height() / 2));
}

QImage ControlArt::searchButton() const {
    // The right end of the search field's pill, in the caption band's colours, with a magnifier.
    QImage image = onRow(mainRow, MainRowHeight, SearchBarTop, SearchButtonSize);
    QPainter p(&image);
    const qreal h = SearchButtonSize.height() - 1;
    drawActionPill(p, QRectF(-h, 0.5, SearchButtonSize.width() - 0.5 + h, h));
    QPen glyph(actionGlyph, 2);
    glyph.setCapStyle(Qt::RoundCap);
    p.setPen(glyph);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(11.5, 11.5), 4.8, 4.8);
    glyph.setWidthF(2.6);
    p.setPen(glyph);
    p.drawLine(QPointF(15.2, 15.2), QPointF(18.8, 18.8));
    return image;
}

QImage ControlArt::libraryButton() const {
    // A pill in the search button's colours, 11 pixels below the top of the main row (window top
    // 570 twips), with a star before the caption.
    QImage image = onRow(mainRow, MainRowHeight, LibraryButtonTop, LibraryButtonSize);
    QPainter p(&image);
    drawActionPill(p, QRectF(0.5, 0.5, LibraryButtonSize.width() - 1, LibraryButtonSize.height() - 1));
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const qreal radius = i % 2 ? 2.6 : 6;
        const qreal angle = -M_PI / 2 + i * M_PI / 5;
        star << QPointF(17 + radius * std::cos(angle), 13.5 + radius * std::sin(angle));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(actionGlyph);
    p.drawPolygon(star);
    QFont font("WenQuanYi Zen Hei");
    font.setPixelSize(13);
    p.setFont(font);
    p.setPen(actionGlyph);
    p.drawText(QRectF(27, 0, LibraryButtonSize.width() - 33, LibraryButtonSize.height()), Qt::AlignCenter,
               QStringLiteral("我的游戏"));
    return image;
}

QImage ControlArt::pageButton() const {
    QImage image = onRow(subRow, SubRowHeight, PagingTop, PageButtonSize);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawButtonFace(p, PageButtonSize, *this);
    return image;
}

QImage ControlArt::arrowButton(bool next) const {
    QImage image = onRow(subRow, SubRowHeight, PagingTop, ArrowButtonSize);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawButtonFace(p, ArrowButtonSize, *this);

    QFont font("WenQuanYi Zen Hei");
    font.setPixelSize(12);
    p.setFont(font);
    const QString text = next ? QStringLiteral("下一页") : QStringLiteral("上一页");
    const qreal textWidth = QFontMetricsF(font).horizontalAdvance(text);
    constexpr qreal ChevronWidth = 4, Gap = 5;
    const qreal left = (ArrowButtonSize.width() - textWidth - Gap - ChevronWidth) / 2;
    const qreal textLeft = next ? left : left + ChevronWidth + Gap;
    const qreal chevronLeft = next ? left + textWidth + Gap : left;
    p.setPen(buttonText);
    p.drawText(QRectF(textLeft, 0, textWidth + 1, ArrowButtonSize.height()), Qt::AlignVCenter, text);

    QPen pen(arrow, 1.8);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    const qreal mid = ArrowButtonSize.height() / 2.0;
    const qreal tip = next ? chevronLeft + ChevronWidth : chevronLeft;
    const qreal tail = next ? chevronLeft : chevronLeft + ChevronWidth;
    p.drawPolyline(QPolygonF{{tail, mid - 4}, {tip, mid}, {tail, mid + 4}});
    return image;
}

QImage ControlArt::nextButton() const {
    return arrowButton(true);
}

QImage ControlArt::previousButton() const {
    return arrowButton(false);
}

QImage ControlArt::progress(bool full) const {
    // The bar copies the left part of the fore picture over the back one, so both share one shape:
    // a plain rectangle, since the bar stands over whatever the viewer shows around it.
    QImage image = filled(ProgressSize, Qt::white);
    QPainter p(&image);
    QPainterPath shape;
    shape.addRect(QRectF(0.5, 0.5, ProgressSize.width() - 1, ProgressSize.height() - 1));
    if (!full) {
        // An inset trough: darker at the top.
        p.fillPath(shape, vertical(troughTop, troughBottom, 0, 12));
        p.strokePath(shape, QPen(troughBorder, 1));
        return image;
    }
    p.fillPath(shape, vertical(fillTop, fillBottom, 0, ProgressSize.height()));
    p.setClipPath(shape);
    // Slanted stripes and a gloss over the upper half.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 34));
    const qreal h = ProgressSize.height();
    for (qreal x = -h; x < ProgressSize.width() + h; x += 16)
        p.drawPolygon(QPolygonF{{x, h}, {x + h, 0}, {x + h + 8, 0}, {x + 8, h}});
    p.fillRect(QRectF(0, 0, ProgressSize.width(), h / 2), QColor(255, 255, 255, 48));
    p.setClipping(false);
    p.strokePath(shape, QPen(fillBorder, 1));
    return image;
}

QImage ControlArt::progressBack() const {
    return progress(false);
}

QImage ControlArt::progressFore() const {
    return progress(true);
}
