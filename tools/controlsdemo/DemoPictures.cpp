#include "DemoPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kWindow(236, 236, 236);

QImage blank(QSize size) {
    QImage image(size, QImage::Format_RGB32); // 24-bit pictures, like the bitmaps a host stores
    image.fill(kWindow);
    return image;
}

QPainterPath rounded(QSize size) {
    QPainterPath path;
    qreal radius = qMin(size.width(), size.height()) / 3.0;
    path.addRoundedRect(QRectF(QPointF(0.5, 0.5), QSizeF(size) - QSizeF(1, 1)), radius, radius);
    return path;
}

// A gradient across the bar: top to bottom for a horizontal bar, left to right for a vertical one.
QLinearGradient across(QSize size, Qt::Orientation orientation, const QColor& from, const QColor& to) {
    QLinearGradient gradient(0, 0, orientation == Qt::Horizontal ? 0 : size.width(),
                             orientation == Qt::Horizontal ? size.height() : 0);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    return gradient;
}

} // namespace

DemoPictures DemoPictures::paint(QSize size, Qt::Orientation orientation) {
    DemoPictures pictures{blank(size), blank(size)};
    QPainterPath shape = rounded(size);

    QPainter back(&pictures.back);
    back.setRenderHint(QPainter::Antialiasing);
    back.fillPath(shape, across(size, orientation, QColor(34, 38, 46), QColor(64, 70, 82)));
    back.setPen(QPen(QColor(20, 22, 28), 1));
    back.drawPath(shape);

    QPainter fore(&pictures.fore);
    fore.setRenderHint(QPainter::Antialiasing);
    fore.fillPath(shape, across(size, orientation, QColor(92, 220, 130), QColor(22, 130, 70)));
    fore.setClipPath(shape);
    // Diagonal stripes, then a gloss over the first half across the bar.
    QColor stripe(255, 255, 255, 38);
    int step = 14;
    int extent = size.width() + size.height();
    for (int offset = -extent; offset < extent; offset += step) {
        QPolygonF band;
        band << QPointF(offset, size.height()) << QPointF(offset + size.height(), 0)
             << QPointF(offset + size.height() + step / 2.0, 0)
             << QPointF(offset + step / 2.0, size.height());
        fore.setBrush(stripe);
        fore.setPen(Qt::NoPen);
        fore.drawPolygon(band);
    }
    QRectF gloss = orientation == Qt::Horizontal ? QRectF(0, 0, size.width(), size.height() / 2.0)
                                                 : QRectF(0, 0, size.width() / 2.0, size.height());
    fore.fillRect(gloss, QColor(255, 255, 255, 45));
    fore.setClipping(false);
    fore.setPen(QPen(QColor(14, 90, 48), 1));
    fore.setBrush(Qt::NoBrush);
    fore.drawPath(shape);
    return pictures;
}
