#include "TabArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int CellWidth = 13;
constexpr int CellHeight = 27;

QLinearGradient vertical(const QColor& top, const QColor& bottom, qreal from, qreal to) {
    QLinearGradient g(0, from, 0, to);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

QPainterPath roundedBox(const QRectF& r, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

} // namespace

QImage TabArt::background() const {
    QImage cell(CellWidth, CellHeight, QImage::Format_RGB32);
    QPainter p(&cell);
    p.fillRect(QRect(0, 0, CellWidth, CellHeight - 1), vertical(bandTop, bandBottom, 0, CellHeight - 1));
    p.fillRect(QRect(0, CellHeight - 1, CellWidth, 1), line);
    return cell;
}

void TabArt::drawRowTab(QImage& cell, Cell kind) const {
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    // The box runs past the bottom, so only its top corners are rounded.
    const QPainterPath box = roundedBox(QRectF(1.5, 1.5, 10, 40), 3.5);
    if (kind == Cell::Hover) {
        // Stands on the strip's line: the last row stays the line.
        p.setClipRect(QRect(0, 0, CellWidth, CellHeight - 1));
        p.setPen(QPen(hoverBorder, 1));
        p.setBrush(vertical(hoverTop, hoverBottom, 1, CellHeight - 1));
        p.drawPath(box);
        return;
    }
    // Open towards the page: its fill ends in the page colour and cuts through the line.
    p.setPen(QPen(border, 1));
    p.setBrush(vertical(currentTop, currentBottom, 1, CellHeight));
    p.drawPath(box);
    p.setClipRect(QRect(0, 0, CellWidth, 3));
    p.setPen(Qt::NoPen);
    p.setBrush(kind == Cell::CurrentHover ? accentHover : accent);
    p.drawPath(roundedBox(QRectF(1, 1, 11, 40), 4));
}

void TabArt::drawPill(QImage& cell, Cell kind) const {
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(1.5, 3.5, 10, 20);
    if (kind == Cell::Hover) {
        p.setPen(QPen(hoverBorder, 1));
        p.setBrush(vertical(hoverTop, hoverBottom, r.top(), r.bottom()));
    } else {
        p.setPen(QPen(kind == Cell::CurrentHover ? accentHover : accent, 1));
        p.setBrush(vertical(currentTop, currentBottom, r.top(), r.bottom()));
    }
    p.drawPath(roundedBox(r, 4.5));
}

QImage TabArt::compose(bool pills) const {
    QImage bitmap(3 * CellWidth, CellHeight, QImage::Format_RGB32);
    QPainter p(&bitmap);
    const Cell kinds[] = {Cell::Hover, Cell::Current, Cell::CurrentHover};
    for (int i = 0; i < 3; ++i) {
        QImage cell = background();
        if (pills)
            drawPill(cell, kinds[i]);
        else
            drawRowTab(cell, kinds[i]);
        p.drawImage(i * CellWidth, 0, cell);
    }
    return bitmap;
}

QImage TabArt::rowBitmap() const {
    return compose(false);
}

QImage TabArt::pillBitmap() const {
    return compose(true);
}
