#include "skin/qt/TabMDC.h"

#include <gtest/gtest.h>

using namespace skin;

namespace {
QRgb at(const Surface& s, int x, int y) {
    return s.image().pixel(x, y) & 0xFFFFFFu;
}
} // namespace

TEST(TabMDC, FillRectAlphaClampsItsStrength) {
    Surface s(4, 1);
    s.fill(QRect(0, 0, 4, 1), qRgb(0, 0, 0));
    TabMDC::fillRectAlpha(s, 0, 0, 1, 1, qRgb(200, 100, 50), 300);
    TabMDC::fillRectAlpha(s, 1, 0, 1, 1, qRgb(200, 100, 50), -5);
    TabMDC::fillRectAlpha(s, 2, 0, 1, 1, qRgb(200, 100, 50), 128);
    TabMDC::fillRectAlpha(s, -2000000000, 0, 2100000000, 1, qRgb(1, 2, 3), 255); // covers all four
    EXPECT_EQ(at(s, 3, 0), qRgb(1, 2, 3) & 0xFFFFFFu);
    Surface t(3, 1);
    TabMDC::fillRectAlpha(t, 0, 0, 1, 1, qRgb(200, 100, 50), 300);
    TabMDC::fillRectAlpha(t, 1, 0, 1, 1, qRgb(200, 100, 50), -5);
    TabMDC::fillRectAlpha(t, 2, 0, 1, 1, qRgb(200, 100, 50), 128);
    EXPECT_EQ(at(t, 0, 0), qRgb(200, 100, 50) & 0xFFFFFFu);
    EXPECT_EQ(at(t, 1, 0), 0u);
    EXPECT_EQ(qRed(t.image().pixel(2, 0)), 100);
}

TEST(TabMDC, NineGridBlitComposesOffTheEdgeAndLeavesOutTheTransparentColour) {
    Surface src(3, 3);
    src.fill(QRect(0, 0, 3, 3), qRgb(255, 255, 255));
    src.image().setPixel(1, 1, qRgb(9, 9, 9));
    Surface dest(10, 10);
    dest.fill(QRect(0, 0, 10, 10), qRgb(40, 40, 40));
    TabMDC::nineGridBlit(dest, 2, 2, 6, 6, src, 0, 0, 3, 3, {1, 1, 1, 1}, qRgb(255, 255, 255));
    EXPECT_EQ(at(dest, 2, 2), qRgb(40, 40, 40) & 0xFFFFFFu); // white corner left out
    EXPECT_EQ(at(dest, 4, 4), qRgb(9, 9, 9) & 0xFFFFFFu);
    EXPECT_EQ(at(dest, 8, 8), qRgb(40, 40, 40) & 0xFFFFFFu);

    TabMDC::nineGridBlit(dest, -5, -5, 10, 10, src, 0, 0, 3, 3, {1, 1, 1, 1}); // partly off the surface
    EXPECT_EQ(at(dest, 4, 4), qRgb(255, 255, 255) & 0xFFFFFFu);                // its bottom-right corner
    EXPECT_EQ(at(dest, 3, 3), qRgb(9, 9, 9) & 0xFFFFFFu);
    EXPECT_EQ(at(dest, 0, 0), qRgb(9, 9, 9) & 0xFFFFFFu);
    TabMDC::nineGridBlit(dest, 0, 0, 2147483647, 2147483647, src, 0, 0, 3, 3, {1, 1, 1, 1});
    EXPECT_EQ(at(dest, 9, 9), qRgb(9, 9, 9) & 0xFFFFFFu);
}

TEST(TabMDC, MakeTabFontAndTransparentPictures) {
    QFont font = TabMDC::makeTabFont(QStringLiteral("宋体"), 12, true, true, true, true);
    EXPECT_EQ(font.pixelSize(), 12);
    EXPECT_EQ(font.weight(), QFont::Bold);
    EXPECT_TRUE(font.italic() && font.strikeOut() && font.underline());
    EXPECT_EQ(TabMDC::makeTabFont(QStringLiteral("宋体"), 12).weight(), QFont::Normal);

    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 255));
    picture.setPixel(1, 1, qRgb(1, 2, 3));
    Surface dest(4, 4);
    TabMDC::drawPictureTransparent(dest, picture, qRgb(255, 0, 255), 1, 1); // 0 sizes: the bitmap's own
    EXPECT_EQ(at(dest, 1, 1), 0u);
    EXPECT_EQ(at(dest, 2, 2), qRgb(1, 2, 3) & 0xFFFFFFu);

    QImage alpha(2, 1, QImage::Format_ARGB32);
    alpha.setPixel(0, 0, qRgba(0, 0, 0, 0));
    alpha.setPixel(1, 0, qRgba(250, 0, 0, 255));
    TabMDC::drawPictureTransparent(dest, alpha, qRgb(255, 255, 255), 0, 3);
    EXPECT_EQ(at(dest, 0, 3), 0u);
    EXPECT_EQ(at(dest, 1, 3), qRgb(250, 0, 0) & 0xFFFFFFu);
}
