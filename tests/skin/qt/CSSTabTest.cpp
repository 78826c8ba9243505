#include "skin/qt/CSSTab.h"

#include "TempDir.h"
#include "skin/qt/SSTab.h"

#include <QApplication>
#include <QFile>
#include <QHoverEvent>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <climits>
#include <gtest/gtest.h>

using namespace skin;

namespace {

// A Tab.bmp whose pixel at column x, row y is red x, green y: every drawn pixel tells where in the
// bitmap it came from.
QImage tracingTabBitmap() {
    QImage image(39, 27, QImage::Format_RGB32);
    for (int y = 0; y < 27; ++y)
        for (int x = 0; x < 39; ++x)
            image.setPixel(x, y, qRgb(x, y, 50));
    return image;
}

QRgb pixel(const CSSTab& strip, int x, int y) {
    return strip.frontSurface().image().pixel(x, y) & 0xFFFFFFu;
}

void hover(QWidget& w, int x, int y) {
    QHoverEvent event(QEvent::HoverMove, QPointF(x, y), QPointF(x, y), QPointF(-1, -1));
    QCoreApplication::sendEvent(&w, &event);
}

void press(QWidget& w, Qt::MouseButton button, int x, int y) {
    QMouseEvent event(QEvent::MouseButtonPress, QPointF(x, y), QPointF(x, y), button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &event);
}

const QRgb Background = qRgb(225, 234, 246) & 0xFFFFFFu;

// The background column at row y of a 75-pixel row: its top 26 rows stretched over 74.
QRgb backgroundAt(int y) {
    return qRgb(0, y == 74 ? 26 : (2 * y + 1) * 26 / 148, 50) & 0xFFFFFFu;
}

// A 600 x 100 control with eight tabs of 80 x 75 skinned from a tracing Tab.bmp.
class CSSTabTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(dir.path() / "Skin" / "Test" / "Tabs");
        tracingTabBitmap().save(QString::fromStdString((dir.path() / "Skin/Test/Tabs/Tab.bmp").string()),
                                "BMP");
        control.resize(600, 100);
        window.resize(600, 200);
        window.show(); // resize events reach shown widgets only
        control.setTabCount(8);
        for (int i = 0; i < 8; ++i)
            control.setTabCaption(i, QStringLiteral("标签%1").arg(i));
        strip.setTabWidth(80);
        strip.setTabHeight(75);
        ASSERT_TRUE(strip.TabSkin(&control, QStringLiteral("Test\\Tabs"), dir.path()));
    }

    TempDir dir;
    QWidget window;
    SSTab& control = *new SSTab(&window); // owned by window
    CSSTab strip;
};

// Bounding rows of the caption pixels (text colour) inside tab index.
std::pair<int, int> captionRows(const CSSTab& strip, int index) {
    int first = INT_MAX, last = -1;
    for (int y = 0; y < strip.frontSurface().height(); ++y)
        for (int x = index * 80 + 10; x < index * 80 + 70; ++x)
            if (qBlue(pixel(strip, x, y)) > 150 && qRed(pixel(strip, x, y)) < 100) {
                first = std::min(first, y);
                last = std::max(last, y);
            }
    return {first, last};
}

} // namespace

TEST_F(CSSTabTest, DrawsBackgroundCurrentAndOtherTabsFromTheirImages) {
    EXPECT_EQ(strip.hwnd(), &control);
    EXPECT_EQ(pixel(strip, 590, 10), backgroundAt(10)); // background column, stretched
    EXPECT_EQ(pixel(strip, 590, 74), backgroundAt(74)); // its bottom line
    EXPECT_EQ(pixel(strip, 590, 80), Background);       // below the row
    // Tab 0 is current: image at x 13, corners 1:1, the middle from column 6 (13 + 6 = 19).
    EXPECT_EQ(pixel(strip, 1, 1), qRgb(14, 1, 50) & 0xFFFFFFu);
    EXPECT_EQ(pixel(strip, 40, 3), qRgb(19, 3, 50) & 0xFFFFFFu);
    EXPECT_EQ(pixel(strip, 79, 74), qRgb(25, 26, 50) & 0xFFFFFFu);
    // Tab 1 is neither current nor lit: the background column.
    EXPECT_EQ(pixel(strip, 120, 3), backgroundAt(3));
}

TEST_F(CSSTabTest, HoverLightsTabsAndTheEighthTabIsCutAtTheEdge) {
    QSignalSpy lit(&strip, &CSSTab::hoveredTabChanged);
    hover(control, 170, 40);
    EXPECT_EQ(strip.hoveredTab(), 2);
    EXPECT_EQ(pixel(strip, 200, 3), qRgb(6, 3, 50) & 0xFFFFFFu); // lit image at x 0, middle column 6
    hover(control, 10, 40);
    EXPECT_EQ(pixel(strip, 40, 3), qRgb(32, 3, 50) & 0xFFFFFFu); // current and lit: image at x 26
    EXPECT_EQ(pixel(strip, 200, 3), backgroundAt(3));
    hover(control, 590, 10);
    EXPECT_EQ(strip.hoveredTab(), 7);
    EXPECT_EQ(pixel(strip, 560, 1), qRgb(0, 1, 50) & 0xFFFFFFu);
    EXPECT_EQ(pixel(strip, 599, 3), qRgb(6, 3, 50) & 0xFFFFFFu); // 40 pixels of it show
    QHoverEvent hoverLeave(QEvent::HoverLeave, QPointF(-1, -1), QPointF(-1, -1), QPointF(590, 10));
    QCoreApplication::sendEvent(&control, &hoverLeave);
    EXPECT_EQ(strip.hoveredTab(), -1);
    EXPECT_EQ(pixel(strip, 599, 3), backgroundAt(3));
    // Said once for each tab the mouse came onto, and when it left them.
    ASSERT_EQ(lit.count(), 4);
    EXPECT_EQ(lit[0][0].toInt(), 2);
    EXPECT_EQ(lit[1][0].toInt(), 0);
    EXPECT_EQ(lit[2][0].toInt(), 7);
    EXPECT_EQ(lit[3][0].toInt(), -1);
}

TEST_F(CSSTabTest, LeftPressSelectsVisibleTabsOnly) {
    auto* elsewhere = new QLineEdit(&window);
    elsewhere->move(0, 120);
    elsewhere->show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    elsewhere->setFocus();
    control.setTabVisible(3, false);
    QSignalSpy clicks(&control, &SSTab::clicked);

    press(control, Qt::RightButton, 170, 10);
    EXPECT_EQ(control.currentTab(), 0);
    EXPECT_FALSE(strip.Focus());
    press(control, Qt::LeftButton, 250, 10); // hidden tab: no selection, no focus
    EXPECT_EQ(control.currentTab(), 0);
    EXPECT_FALSE(strip.Focus());
    EXPECT_EQ(pixel(strip, 250, 3), backgroundAt(3));
    press(control, Qt::LeftButton, 170, 10);
    EXPECT_EQ(control.currentTab(), 2);
    EXPECT_TRUE(strip.Focus());
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 0);
    EXPECT_EQ(pixel(strip, 200, 3), qRgb(19, 3, 50) & 0xFFFFFFu); // redrawn as current
    press(control, Qt::LeftButton, 170, 90);                      // below the row
    EXPECT_EQ(control.currentTab(), 2);

    // A change made by the host redraws too.
    control.setCurrentTab(5);
    EXPECT_EQ(pixel(strip, 440, 3), qRgb(19, 3, 50) & 0xFFFFFFu);
    control.setTabVisible(5, false);
    EXPECT_EQ(pixel(strip, 440, 3), backgroundAt(3));
}

TEST_F(CSSTabTest, PictureSitsAtSeventeenEightAndDropsTheCaption) {
    QImage picture(48, 48, QImage::Format_RGB32);
    picture.fill(qRgb(200, 0, 0));
    picture.setPixel(0, 0, qRgb(255, 255, 255));
    control.setTabPicture(3, picture);
    EXPECT_EQ(pixel(strip, 240 + 17 + 1, 8 + 1), qRgb(200, 0, 0) & 0xFFFFFFu);
    EXPECT_EQ(pixel(strip, 240 + 17, 8), backgroundAt(8)); // white left out
    EXPECT_EQ(pixel(strip, 240 + 17 + 48, 8), backgroundAt(8));

    strip.setColors(0xFF0000, CSSTab::DefaultTabBackColor); // captions pure blue
    control.resize(601, 100);                               // colours apply at resize
    auto [plainTop, plainBottom] = captionRows(strip, 4);
    auto [pictureTop, pictureBottom] = captionRows(strip, 3);
    ASSERT_GE(plainBottom, 0);
    ASSERT_GE(pictureBottom, 0);
    EXPECT_EQ(pictureTop - plainTop, 26);
    EXPECT_EQ(pictureBottom - plainBottom, 26);
}

TEST_F(CSSTabTest, DetachLetsGoAndAttachNeedsAControl) {
    CSSTab other;
    EXPECT_FALSE(other.TabSkin(nullptr, QStringLiteral("Test"), dir.path()));
    EXPECT_FALSE(strip.TabSkin(&control, QStringLiteral("Test"), dir.path())); // already attached
    EXPECT_EQ(strip.hwnd(), &control);
    hover(control, 170, 40);
    EXPECT_TRUE(strip.Detach());
    EXPECT_EQ(strip.hwnd(), nullptr);
    EXPECT_TRUE(strip.frontSurface().isNull());
    EXPECT_EQ(strip.hoveredTab(), -1);
    EXPECT_FALSE(strip.Detach());
    hover(control, 250, 40); // no longer watched
    EXPECT_EQ(strip.hoveredTab(), -1);
    EXPECT_TRUE(other.TabSkin(&control, QStringLiteral("Test\\Tabs"), dir.path()));
    EXPECT_EQ(other.LOWORD(0x0001FFFF), -1);
    EXPECT_EQ(other.HIWORD(0x0001FFFF), 1);
}

TEST_F(CSSTabTest, MissingBrokenOrTinyBitmapsDrawWhatTheyCan) {
    strip.Detach();
    const auto folder = dir.path() / "Skin" / "Broken";
    std::filesystem::create_directories(folder);
    CSSTab missing;
    ASSERT_TRUE(missing.TabSkin(&control, QStringLiteral("Nowhere"), dir.path()));
    EXPECT_EQ(pixel(missing, 40, 3), Background);
    EXPECT_EQ(pixel(missing, 590, 10), Background);
    missing.Detach();

    QFile garbage(QString::fromStdString((folder / "Tab.bmp").string()));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("BM\x10\x00 not really a bitmap");
    garbage.close();
    CSSTab broken;
    ASSERT_TRUE(broken.TabSkin(&control, QStringLiteral("Broken"), dir.path()));
    EXPECT_EQ(pixel(broken, 40, 3), Background);
    broken.Detach();

    QImage tiny(4, 4, QImage::Format_RGB32);
    tiny.fill(qRgb(10, 20, 30));
    tiny.save(QString::fromStdString((folder / "Tab.bmp").string()), "BMP");
    CSSTab small;
    ASSERT_TRUE(small.TabSkin(&control, QStringLiteral("Broken"), dir.path()));
    EXPECT_EQ(pixel(small, 40, 3), Background); // the middle column x 19 is not in the bitmap
    EXPECT_EQ(pixel(small, 1, 1), qRgb(10, 20, 30) & 0xFFFFFFu);
}

TEST_F(CSSTabTest, AbsurdSizesAndNarrowControlsDoNotCrash) {
    strip.setTabWidth(INT_MAX);
    strip.setTabHeight(INT_MAX);
    EXPECT_EQ(pixel(strip, 0, 0), qRgb(13, 0, 50) & 0xFFFFFFu);
    EXPECT_EQ(pixel(strip, 599, 3), qRgb(19, 3, 50) & 0xFFFFFFu);
    hover(control, 599, 99);
    EXPECT_EQ(strip.hoveredTab(), 0);
    strip.setTabWidth(-5);
    EXPECT_EQ(strip.TabWidth(), 3);
    control.setTabCount(1000);
    strip.setTabHeight(30);
    hover(control, 2999, 5);
    EXPECT_EQ(strip.hoveredTab(), 999);
    strip.setTabWidth(80);
    control.resize(10, 5); // narrower than a tab's two corners
    EXPECT_EQ(strip.frontSurface().width(), 10);
    control.resize(0, 0);
    EXPECT_TRUE(strip.frontSurface().isNull());
    hover(control, 5, 5);
    control.resize(300, 40);
    EXPECT_FALSE(strip.frontSurface().isNull());
}

TEST(CSSTab, AStripOwnedByItsControlGoesWithIt) {
    auto* control = new SSTab;
    control->resize(200, 50);
    control->setTabCount(2);
    auto* strip = new CSSTab(control); // owned by the control
    ASSERT_TRUE(strip->TabSkin(control, QStringLiteral("Nowhere"), "/nonexistent"));
    QPointer<CSSTab> watch(strip);
    delete control;
    EXPECT_TRUE(watch.isNull());

    CSSTab outlives;
    auto* shortLived = new SSTab;
    ASSERT_TRUE(outlives.TabSkin(shortLived, QStringLiteral("Nowhere"), "/nonexistent"));
    delete shortLived;
    EXPECT_EQ(outlives.hwnd(), nullptr);
    EXPECT_FALSE(outlives.Detach());
}
