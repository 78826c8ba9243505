#pragma once
// A memory drawing surface: a 32-bit image that the skinned windows compose their pictures in
// before one copy reaches the screen. The copy operations keep the results the skin pictures were
// drawn for: plain copies, nearest-neighbour stretches where a negative width or height mirrors,
// copies that leave out one colour, and blends with one constant strength. Copies are clipped to
// both surfaces; a null surface neither draws nor is drawn on.

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <cstdint>
#include <filesystem>

namespace skin {

// Text layout flags of drawText (the platform's values, so stored formats keep working).
enum TextFlag : unsigned {
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_SINGLELINE = 0x20,
    DT_CALCRECT = 0x400,
    DT_END_ELLIPSIS = 0x8000,
};

// A colour integer (lowest byte red, then green, then blue) as an opaque Qt colour.
QRgb toQRgb(std::int32_t colorRef);

class Surface {
  public:
    Surface() = default;
    // A w x h surface filled black; zero or negative sizes give a null surface.
    Surface(int width, int height);
    explicit Surface(QImage image);

    bool isNull() const { return image_.isNull(); }
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    QImage& image() { return image_; }
    const QImage& image() const { return image_; }

    void fill(const QRect& rect, QRgb color);
    // 1:1 copy; a negative width or height copies nothing.
    void bitBlt(int dx, int dy, int w, int h, const Surface& src, int sx, int sy);
    // Stretched copy; a negative source or destination extent mirrors (see BlitAxis).
    void stretchBlt(int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy, int sw, int sh);
    // Stretched copy that leaves out every source pixel of the colour `transparent`.
    void transparentBlt(int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy, int sw, int sh,
                        QRgb transparent);
    // Stretched blend: result = (src * a + dest * (255 - a)) / 255 with a = constantAlpha (0..255).
    void alphaBlend(int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy, int sw, int sh,
                    int constantAlpha);
    // Text in one colour with a transparent background inside rect, laid out by the TextFlag
    // values. Returns the rectangle the text occupies; with DT_CALCRECT only measures.
    QRect drawText(const QString& text, const QRect& rect, unsigned flags, const QFont& font, QRgb color);

    // A picture file (any format the image readers know) as a surface; null when the file is
    // missing, empty, truncated or not a picture.
    static Surface loadBitmap(const std::filesystem::path& path);

  private:
    // Plain: the operation is a straight copy, so equal rows may be repeated by memcpy.
    template <bool Plain, typename PixelOp>
    void copyStretched(int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy, int sw, int sh,
                       PixelOp op);

    QImage image_;
};

} // namespace skin
