#include "skin/qt/Surface.h"

#include "TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace skin;

namespace {

// A surface whose pixel at column x has red = x and green = y, easy to trace through copies.
Surface gradient(int w, int h) {
    Surface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.image().setPixel(x, y, qRgb(x, y, 0));
    return s;
}

QRgb at(const Surface& s, int x, int y) {
    return s.image().pixel(x, y) & 0xFFFFFFu;
}

} // namespace

TEST(Surface, NewSurfacesAreBlackAndBadSizesAreNull) {
    Surface s(3, 2);
    EXPECT_FALSE(s.isNull());
    EXPECT_EQ(at(s, 2, 1), 0u);
    EXPECT_TRUE(Surface(0, 5).isNull());
    EXPECT_TRUE(Surface(-4, 5).isNull());
    Surface null;
    null.bitBlt(0, 0, 3, 2, s, 0, 0); // no crash, nothing to draw on
    s.bitBlt(0, 0, 3, 2, null, 0, 0);
    EXPECT_EQ(at(s, 0, 0), 0u);
}

TEST(Surface, BitBltCopiesOneToOneAndClipsBothSides) {
    Surface src = gradient(20, 20);
    Surface dst(10, 10);
    dst.bitBlt(-2, 8, 6, 6, src, 5, 5);
    EXPECT_EQ(at(dst, 0, 8), qRgb(7, 5, 0) & 0xFFFFFFu);
    EXPECT_EQ(at(dst, 3, 9), qRgb(10, 6, 0) & 0xFFFFFFu);
    EXPECT_EQ(at(dst, 4, 9), 0u);
    dst.bitBlt(0, 0, -3, 3, src, 0, 0); // negative sizes copy nothing
    EXPECT_EQ(at(dst, 0, 0), 0u);
}

TEST(Surface, StretchBltWithNegativeSourceWidthMirrorsTheColumnLeftOfStart) {
    Surface tab = gradient(13, 27);
    Surface dst(40, 27);
    // Middle of a 40-wide tab from a 13-wide image with 7-pixel margins: source width -1 at x 7.
    dst.stretchBlt(7, 0, 40 - 14, 27, tab, 7, 0, 13 - 14, 27);
    for (int x = 7; x < 33; ++x)
        EXPECT_EQ(qRed(dst.image().pixel(x, 10)), 6) << x;
    EXPECT_EQ(at(dst, 6, 10), 0u);
    EXPECT_EQ(at(dst, 33, 10), 0u);

    Surface mirrored(3, 1);
    mirrored.stretchBlt(0, 0, 3, 1, tab, 3, 0, -3, 1);
    EXPECT_EQ(qRed(mirrored.image().pixel(0, 0)), 2);
    EXPECT_EQ(qRed(mirrored.image().pixel(2, 0)), 0);

    Surface stretched(4, 4);
    stretched.stretchBlt(0, 0, 4, 4, tab, 1, 1, 2, 2);
    EXPECT_EQ(at(stretched, 1, 1), qRgb(1, 1, 0) & 0xFFFFFFu);
    EXPECT_EQ(at(stretched, 3, 2), qRgb(2, 2, 0) & 0xFFFFFFu);
    EXPECT_EQ(at(stretched, 0, 3), qRgb(1, 2, 0) & 0xFFFFFFu); // a repeated row
    EXPECT_EQ(at(stretched, 3, 0), qRgb(2, 1, 0) & 0xFFFFFFu);

    // Columns that sample outside the source are left alone on every row, repeated or not.
    Surface partial(4, 4);
    partial.fill(QRect(0, 0, 4, 4), qRgb(9, 9, 9));
    partial.stretchBlt(0, 0, 4, 4, tab, 11, 0, 4, 2);
    EXPECT_EQ(qRed(partial.image().pixel(1, 3)), 12);
    EXPECT_EQ(at(partial, 2, 3), qRgb(9, 9, 9) & 0xFFFFFFu);
    EXPECT_EQ(at(partial, 3, 3), qRgb(9, 9, 9) & 0xFFFFFFu);
}

TEST(Surface, TransparentBltLeavesOutTheKeyColourAndAlphaBlendMixes) {
    Surface src(2, 1);
    src.image().setPixel(0, 0, qRgb(255, 255, 255));
    src.image().setPixel(1, 0, qRgb(200, 0, 0));
    Surface dst(2, 1);
    dst.fill(QRect(0, 0, 2, 1), qRgb(0, 0, 100));
    dst.transparentBlt(0, 0, 2, 1, src, 0, 0, 2, 1, qRgb(255, 255, 255));
    EXPECT_EQ(at(dst, 0, 0), qRgb(0, 0, 100) & 0xFFFFFFu);
    EXPECT_EQ(at(dst, 1, 0), qRgb(200, 0, 0) & 0xFFFFFFu);

    Surface blend(1, 1);
    blend.fill(QRect(0, 0, 1, 1), qRgb(0, 0, 0));
    Surface white(1, 1);
    white.fill(QRect(0, 0, 1, 1), qRgb(255, 255, 255));
    blend.alphaBlend(0, 0, 1, 1, white, 0, 0, 1, 1, 51);
    EXPECT_EQ(qRed(blend.image().pixel(0, 0)), 51);
    blend.alphaBlend(0, 0, 1, 1, white, 0, 0, 1, 1, 255);
    EXPECT_EQ(qRed(blend.image().pixel(0, 0)), 255);
    blend.alphaBlend(0, 0, 1, 1, src, 0, 0, 1, 1, 999); // clamped, no overflow
}

TEST(Surface, DrawTextEllipsisStaysInsideTheRectangle) {
    QFont font;
    font.setPixelSize(12);
    Surface s(60, 20);
    QRect measured = s.drawText("A long caption that does not fit", QRect(0, 0, 60, 20),
                                DT_SINGLELINE | DT_CALCRECT, font, qRgb(255, 255, 255));
    EXPECT_GT(measured.width(), 60);
    QRect shown = s.drawText("A long caption that does not fit", QRect(0, 0, 60, 20),
                             DT_SINGLELINE | DT_END_ELLIPSIS, font, qRgb(255, 255, 255));
    EXPECT_LE(shown.right(), 59);
    bool drew = false;
    for (int x = 0; x < 60; ++x)
        for (int y = 0; y < 20; ++y)
            drew = drew || at(s, x, y) != 0;
    EXPECT_TRUE(drew);
    EXPECT_EQ(toQRgb(16181985) & 0xFFFFFFu, qRgb(225, 234, 246) & 0xFFFFFFu);
}

TEST(Surface, LoadBitmapGivesNullForMissingTruncatedAndForeignFiles) {
    TempDir dir;
    EXPECT_TRUE(Surface::loadBitmap(dir.path() / "missing.bmp").isNull());

    auto good = dir.path() / "good.bmp";
    QImage image(8, 4, QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    ASSERT_TRUE(image.save(QString::fromStdString(good.string()), "BMP"));
    Surface loaded = Surface::loadBitmap(good);
    EXPECT_EQ(loaded.width(), 8);
    EXPECT_EQ(loaded.height(), 4);

    QFile file(QString::fromStdString(good.string()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    auto write = [&](const char* name, const QByteArray& data) {
        QFile out(QString::fromStdString((dir.path() / name).string()));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(data);
        return dir.path() / name;
    };
    EXPECT_TRUE(Surface::loadBitmap(write("header.bmp", bytes.left(20))).isNull());
    EXPECT_TRUE(Surface::loadBitmap(write("text.bmp", "not a picture at all")).isNull());
    EXPECT_TRUE(Surface::loadBitmap(write("empty.bmp", QByteArray())).isNull());
}
