#pragma once
// Drawing operations of the skinned tab strip, on memory surfaces.

#include "skin/TabMDCNineGrid.h"
#include "skin/qt/Surface.h"

#include <QFont>
#include <QImage>
#include <QString>
#include <optional>

namespace skin::TabMDC {

// Composes source (sx, sy, sw, sh) of src as a nine-grid (see nineGridCopies) in a temporary
// surface of w x h, draws `picture` into it at (17, 8), 48 x 48, with white left out, and copies the
// result to dest at (x, y): plainly, or leaving out `transparent` when given. Nothing is drawn when
// w, h, sw or sh is 0 or when src is null. Only the part of the area that lies on dest is composed,
// and it starts from dest's pixels, so a source too small for its pieces leaves dest showing
// through instead of black.
void nineGridBlit(Surface& dest, int x, int y, int w, int h, const Surface& src, int sx, int sy, int sw,
                  int sh, const NineGridMargins& margins, std::optional<QRgb> transparent = {},
                  const QImage& picture = {});

// Blends a w x h area of `color` over dest at (x, y) with constant strength, clamped to 0..255.
void fillRectAlpha(Surface& dest, int x, int y, int w, int h, QRgb color, int strength);

// Text in `color` inside the rectangle x, y, x + w, y + h, laid out by the DT_ format flags.
void drawTabText(Surface& dest, const QString& text, int x, int y, int w, int h, unsigned format,
                 const QFont& font, QRgb color);

// The font `face` with a character cell `size` pixels high; weight 700 when bold, else 400.
QFont makeTabFont(const QString& face, int size, bool bold = false, bool italic = false,
                  bool strikeOut = false, bool underline = false);

// Copies the region (sourceX, sourceY, width, height) of `bitmap` 1:1 to dest at (x, y), leaving
// out every pixel of the transparent colour; a width or height of 0 means the bitmap's own. A
// picture with an alpha channel is blended by its alpha instead, and its fully transparent pixels are
// left out as well.
void drawPictureTransparent(Surface& dest, const QImage& bitmap, QRgb transparent, int x, int y,
                            int width = 0, int height = 0, int sourceX = 0, int sourceY = 0);

} // namespace skin::TabMDC
