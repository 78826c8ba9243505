#include "skin/qt/TabMDC.h"

#include "skin/TabStrip.h"

#include <QPainter>
#include <algorithm>

namespace skin::TabMDC {

namespace {

// The part of (x, y, w, h) that lies on a surface of the given size, in 64 bits so that absurd
// sizes cannot overflow; empty when nothing does.
QRect visiblePart(const Surface& dest, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h) {
    const std::int64_t left = std::max<std::int64_t>(x, 0), top = std::max<std::int64_t>(y, 0);
    const std::int64_t right = std::min<std::int64_t>(x + w, dest.width());
    const std::int64_t bottom = std::min<std::int64_t>(y + h, dest.height());
    if (right <= left || bottom <= top) return {};
    return QRect(int(left), int(top), int(right - left), int(bottom - top));
}

constexpr QRgb White = 0xFFFFFF;

} // namespace

void nineGridBlit(Surface& dest, int x, int y, int w, int h, const Surface& src, int sx, int sy, int sw,
                  int sh, const NineGridMargins& margins, std::optional<QRgb> transparent,
                  const QImage& picture) {
    if (sw == 0 || sh == 0 || src.isNull()) return;
    const QRect part = visiblePart(dest, x, y, w, h);
    if (part.isEmpty()) return;
    Surface temp(part.width(), part.height());
    temp.bitBlt(0, 0, part.width(), part.height(), dest, part.x(), part.y());
    // Temporary-surface coordinates of the area's top-left corner (0 or less).
    const std::int64_t ox = std::int64_t(x) - part.x(), oy = std::int64_t(y) - part.y();
    for (const BlitCopy& c : nineGridCopies(ox, oy, w, h, sx, sy, sw, sh, margins))
        if (c.stretched)
            temp.stretchBlt(c.dx, c.dy, c.dw, c.dh, src, c.sx, c.sy, c.sw, c.sh);
        else
            temp.bitBlt(c.dx, c.dy, c.dw, c.dh, src, c.sx, c.sy);
    if (hasNineGridPieces(margins) && !picture.isNull())
        drawPictureTransparent(temp, picture, White, int(ox + TabStrip::PictureX),
                               int(oy + TabStrip::PictureY), TabStrip::PictureSize, TabStrip::PictureSize);
    if (transparent)
        dest.transparentBlt(part.x(), part.y(), part.width(), part.height(), temp, 0, 0, part.width(),
                            part.height(), *transparent);
    else
        dest.bitBlt(part.x(), part.y(), part.width(), part.height(), temp, 0, 0);
}

void fillRectAlpha(Surface& dest, int x, int y, int w, int h, QRgb color, int strength) {
    const QRect part = visiblePart(dest, x, y, w, h);
    strength = std::clamp(strength, 0, 255);
    if (part.isEmpty() || strength == 0) return;
    // Full strength blends to the colour itself: a plain fill gives the same pixels much faster.
    if (strength == 255) return dest.fill(part, color);
    Surface temp(part.width(), part.height());
    temp.fill(temp.image().rect(), color);
    dest.alphaBlend(part.x(), part.y(), part.width(), part.height(), temp, 0, 0, part.width(), part.height(),
                    strength);
}

void drawTabText(Surface& dest, const QString& text, int x, int y, int w, int h, unsigned format,
                 const QFont& font, QRgb color) {
    dest.drawText(text, QRect(x, y, std::max(w, 0), std::max(h, 0)), format, font, color);
}

QFont makeTabFont(const QString& face, int size, bool bold, bool italic, bool strikeOut, bool underline) {
    QFont font(face);
    font.setPixelSize(std::max(size, 1));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(italic);
    font.setStrikeOut(strikeOut);
    font.setUnderline(underline);
    return font;
}

void drawPictureTransparent(Surface& dest, const QImage& bitmap, QRgb transparent, int x, int y, int width,
                            int height, int sourceX, int sourceY) {
    if (bitmap.isNull() || dest.isNull()) return;
    if (width == 0) width = bitmap.width();
    if (height == 0) height = bitmap.height();
    if (width < 0 || height < 0) return;
    if (bitmap.hasAlphaChannel()) {
        QPainter painter(&dest.image());
        painter.drawImage(QPoint(x, y), bitmap, QRect(sourceX, sourceY, width, height));
        return;
    }
    dest.transparentBlt(x, y, width, height, Surface(bitmap), sourceX, sourceY, width, height, transparent);
}

} // namespace skin::TabMDC
