#include "skin/qt/Surface.h"

#include "base/ColorRef.h"
#include "skin/BlitAxis.h"

#include <QFontMetrics>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <cstring>
#include <vector>

namespace skin {

QRgb toQRgb(std::int32_t colorRef) {
    return qRgb(base::colorRefRed(colorRef), base::colorRefGreen(colorRef), base::colorRefBlue(colorRef));
}

Surface::Surface(int width, int height) {
    if (width <= 0 || height <= 0) return;
    image_ = QImage(width, height, QImage::Format_RGB32);
    if (!image_.isNull()) image_.fill(qRgb(0, 0, 0));
}

Surface::Surface(QImage image) {
    if (!image.isNull()) image_ = image.convertToFormat(QImage::Format_RGB32);
}

void Surface::fill(const QRect& rect, QRgb color) {
    QRect r = rect.intersected(image_.rect());
    if (r.isEmpty()) return;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
        std::fill(line + r.left(), line + r.right() + 1, color | 0xFF000000u);
    }
}

template <bool Plain, typename PixelOp>
void Surface::copyStretched(int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy, int sw,
                            int sh, PixelOp op) {
    if (isNull() || src.isNull()) return;
    BlitAxis ax(dx, dw, sx, sw);
    BlitAxis ay(dy, dh, sy, sh);
    if (ax.empty() || ay.empty()) return;
    // Copying a surface onto itself reads from a snapshot, so overlapping areas copy cleanly.
    const QImage source = &src == this ? image_.copy() : src.image_;

    // Destination columns that land on this surface and sample inside the source.
    struct Column {
        int dest;
        int source;
    };
    std::vector<Column> columns;
    int firstX = std::max(0, -ax.destStart());
    int lastX = std::min(ax.destLength(), width() - ax.destStart());
    if (firstX >= lastX) return;
    columns.reserve(static_cast<std::size_t>(lastX - firstX));
    for (int i = firstX; i < lastX; ++i) {
        int s = ax.sourceAt(i);
        if (s >= 0 && s < source.width()) columns.push_back({ax.destStart() + i, s});
    }
    if (columns.empty()) return;

    // A plain copy whose columns form one run repeats the row above when both rows sample the same
    // source row, as most rows of a vertical stretch do.
    const bool rowsRepeat = Plain && columns.size() == static_cast<std::size_t>(lastX - firstX);
    const std::size_t runBytes = columns.size() * sizeof(QRgb);
    const QRgb* previous = nullptr;
    int previousSource = -1;
    int firstY = std::max(0, -ay.destStart());
    int lastY = std::min(ay.destLength(), height() - ay.destStart());
    for (int j = firstY; j < lastY; ++j) {
        int s = ay.sourceAt(j);
        if (s < 0 || s >= source.height()) continue;
        auto* out = reinterpret_cast<QRgb*>(image_.scanLine(ay.destStart() + j));
        if (rowsRepeat && s == previousSource) {
            std::memcpy(out + columns.front().dest, previous, runBytes);
        } else {
            const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(s));
            for (const Column& c : columns)
                op(out[c.dest], in[c.source]);
        }
        previous = out + columns.front().dest;
        previousSource = s;
    }
}

void Surface::bitBlt(int dx, int dy, int w, int h, const Surface& src, int sx, int sy) {
    if (w <= 0 || h <= 0) return;
    if (&src == this) { // overlapping areas: read from a snapshot
        copyStretched<true>(dx, dy, w, h, src, sx, sy, w, h, [](QRgb& out, QRgb in) { out = in; });
        return;
    }
    if (isNull() || src.isNull()) return;
    // Clip the rectangle to both surfaces, then copy whole rows: the frame's full-size copies.
    QRect area = QRect(dx, dy, w, h)
                     .intersected(image_.rect())
                     .intersected(src.image_.rect().translated(dx - sx, dy - sy));
    if (area.isEmpty()) return;
    const auto bytes = static_cast<std::size_t>(area.width()) * sizeof(QRgb);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* in =
            reinterpret_cast<const QRgb*>(src.image_.constScanLine(y - dy + sy)) + (area.left() - dx + sx);
        std::memcpy(reinterpret_cast<QRgb*>(image_.scanLine(y)) + area.left(), in, bytes);
    }
}

void Surface::stretchBlt(int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy, int sw, int sh) {
    copyStretched<true>(dx, dy, dw, dh, src, sx, sy, sw, sh, [](QRgb& out, QRgb in) { out = in; });
}

void Surface::transparentBlt(int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy, int sw,
                             int sh, QRgb transparent) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    const QRgb key = transparent & 0xFFFFFFu;
    copyStretched<false>(dx, dy, dw, dh, src, sx, sy, sw, sh, [key](QRgb& out, QRgb in) {
        if ((in & 0xFFFFFFu) != key) out = in;
    });
}

void Surface::alphaBlend(int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy, int sw, int sh,
                         int constantAlpha) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    const unsigned a = static_cast<unsigned>(std::clamp(constantAlpha, 0, 255));
    const unsigned b = 255 - a;
    copyStretched<false>(dx, dy, dw, dh, src, sx, sy, sw, sh, [a, b](QRgb& out, QRgb in) {
        auto mix = [a, b](unsigned s, unsigned d) { return (s * a + d * b + 127) / 255; };
        out = qRgb(int(mix(qRed(in), qRed(out))), int(mix(qGreen(in), qGreen(out))),
                   int(mix(qBlue(in), qBlue(out))));
    });
}

QRect Surface::drawText(const QString& text, const QRect& rect, unsigned flags, const QFont& font,
                        QRgb color) {
    QFontMetrics metrics(font);
    QString shown = text;
    if (flags & DT_SINGLELINE) shown.replace(QLatin1Char('\n'), QLatin1Char(' ')).remove(QLatin1Char('\r'));
    if ((flags & DT_END_ELLIPSIS) && !(flags & DT_CALCRECT))
        shown = metrics.elidedText(shown, Qt::ElideRight, std::max(0, rect.width()));
    int textWidth = metrics.horizontalAdvance(shown);
    int textHeight = metrics.height();
    if (flags & DT_CALCRECT) return QRect(rect.left(), rect.top(), textWidth, textHeight);

    int x = rect.left();
    if (flags & DT_CENTER)
        x = rect.left() + (rect.width() - textWidth) / 2;
    else if (flags & DT_RIGHT)
        x = rect.left() + rect.width() - textWidth;
    int y = rect.top();
    if ((flags & DT_SINGLELINE) && (flags & DT_VCENTER))
        y = rect.top() + (rect.height() - textHeight) / 2;
    else if ((flags & DT_SINGLELINE) && (flags & DT_BOTTOM))
        y = rect.top() + rect.height() - textHeight;
    QRect occupied(x, y, textWidth, textHeight);
    if (isNull() || shown.isEmpty()) return occupied;

    QPainter painter(&image_);
    painter.setClipRect(rect);
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(color));
    painter.drawText(QPoint(x, y + metrics.ascent()), shown);
    return occupied;
}

Surface Surface::loadBitmap(const std::filesystem::path& path) {
    QImageReader reader(QString::fromStdString(path.string()));
    QImage image = reader.read();
    return Surface(image);
}

} // namespace skin
