#include "controls/qt/ucProgressBarWidget.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QColor kBack(10, 20, 30);
const QColor kFore(200, 100, 50);

QImage filled(int width, int height, const QColor& color) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// A shown bar with plain back and fore pictures and no caption.
struct PictureBar {
    ucProgressBarWidget bar;
    explicit PictureBar(int width = 200, int height = 12) {
        bar.setBarPictureBack(filled(width, height, kBack));
        bar.setBarPictureFore(filled(width, height, kFore));
        bar.show();
    }
    QColor at(int x, int y) { return bar.grab().toImage().pixelColor(x, y); }
};

void doubleClick(QWidget* widget, Qt::MouseButton button, QPoint at) {
    QMouseEvent event(QEvent::MouseButtonDblClick, at, widget->mapToGlobal(at), button, button,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

TEST(ucProgressBarWidget, TakesTheSizeOfItsBackPicture) {
    ucProgressBarWidget bar;
    bar.resize(120, 40);
    EXPECT_EQ(bar.size(), QSize(120, 40)); // no picture: the host decides
    bar.setBarPictureBack(filled(200, 12, kBack));
    EXPECT_EQ(bar.size(), QSize(200, 12));
    bar.resize(300, 50);
    EXPECT_EQ(bar.size(), QSize(200, 12));
    bar.setBarPictureBack(QImage());
    bar.resize(300, 50);
    EXPECT_EQ(bar.size(), QSize(300, 50));
}

TEST(ucProgressBarWidget, RevealsTheForePictureFromTheLeftOrTheBottom) {
    PictureBar b;
    EXPECT_EQ(b.at(0, 5), kBack); // Value = Min
    b.bar.setValue(50);
    EXPECT_EQ(b.at(99, 5), kFore);
    EXPECT_EQ(b.at(100, 5), kBack);
    b.bar.setValue(100);
    EXPECT_EQ(b.at(199, 11), kFore);

    PictureBar tall(20, 40);
    tall.bar.setOrientation(1);
    tall.bar.setValue(25);
    EXPECT_EQ(tall.at(10, 29), kBack);
    EXPECT_EQ(tall.at(10, 30), kFore);
    EXPECT_EQ(tall.at(19, 39), kFore);
}

TEST(ucProgressBarWidget, PrintsTheCaptionInItsColour) {
    PictureBar b(287, 29);
    b.bar.setValue(37);
    b.bar.setCaptionFormat(2);
    b.bar.setFontColor(0x00FF00); // green
    EXPECT_EQ(b.bar.caption(), "37%");
    QImage shot = b.bar.grab().toImage();
    int green = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            green += shot.pixelColor(x, y).green() > 200;
    EXPECT_GT(green, 10);
}

TEST(ucProgressBarWidget, RejectedValuesReturnFalseAndChangeNothing) {
    ucProgressBarWidget bar;
    QSignalSpy changes(&bar, &ucProgressBarWidget::Change);
    QSignalSpy last(&bar, &ucProgressBarWidget::ArrivedLast);
    EXPECT_TRUE(bar.setValue(100));
    EXPECT_FALSE(bar.setValue(101));
    EXPECT_FALSE(bar.setMax(0));
    EXPECT_FALSE(bar.setMin(100));
    EXPECT_TRUE(bar.setMax(0x7FFFFFFF));
    EXPECT_FALSE(bar.setMin(-1)); // overflow
    EXPECT_EQ(bar.Value(), 100);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(last.count(), 1);
}

TEST(ucProgressBarWidget, MouseDragsStepsAndClicks) {
    PictureBar b;
    QSignalSpy clicks(&b.bar, &ucProgressBarWidget::Click);
    QTest::mousePress(&b.bar, Qt::LeftButton, {}, QPoint(50, 5));
    EXPECT_EQ(b.bar.Value(), 25);
    QMouseEvent beyond(QEvent::MouseMove, QPointF(400, 5), QPointF(400, 5), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(&b.bar, &beyond);
    EXPECT_EQ(b.bar.Value(), 100);
    QTest::mouseRelease(&b.bar, Qt::LeftButton, {}, QPoint(199, 5));
    EXPECT_EQ(clicks.count(), 1);

    b.bar.setValue(60);
    QTest::mousePress(&b.bar, Qt::RightButton, {}, QPoint(20, 5));
    QTest::mouseRelease(&b.bar, Qt::RightButton, {}, QPoint(20, 5));
    doubleClick(&b.bar, Qt::RightButton, QPoint(20, 5));
    QTest::mouseRelease(&b.bar, Qt::RightButton, {}, QPoint(20, 5));
    EXPECT_EQ(b.bar.Value(), 58); // two steps of one toward the pointer
    EXPECT_EQ(clicks.count(), 2); // the double click's second press makes no click

    QTest::mouseClick(&b.bar, Qt::MiddleButton, {}, QPoint(150, 5));
    EXPECT_EQ(b.bar.Value(), 58);
}

TEST(ucProgressBarWidget, SavedPropertiesKeepPicturesAndFont) {
    PictureBar b;
    b.bar.setMax(200);
    b.bar.setValue(100);
    b.bar.setCaptionFormat(5);
    b.bar.setFontColor(0x0000FF);
    QFont font = b.bar.font();
    font.setPointSize(17);
    b.bar.setFont(font);
    PropertyBag bag;
    b.bar.WriteProperties(bag);

    ucProgressBarWidget loaded;
    loaded.ReadProperties(bag);
    EXPECT_EQ(loaded.size(), QSize(200, 12));
    EXPECT_EQ(loaded.Max(), 200);
    EXPECT_EQ(loaded.Value(), 100);
    EXPECT_EQ(loaded.FontColor(), 0x0000FF);
    EXPECT_EQ(loaded.font().pointSize(), 17);
    EXPECT_EQ(loaded.BarPictureFore().pixelColor(0, 0), kFore);
    EXPECT_EQ(loaded.BarPictureBack().pixelColor(0, 0), kBack);
    EXPECT_EQ(loaded.caption(), "50%");
}
