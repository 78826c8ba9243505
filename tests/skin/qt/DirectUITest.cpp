#include "skin/qt/DirectUI.h"

#include "SkinFolder.h"
#include "WaitUntil.h"
#include "skin/qt/ShowSkinMenu.h"

#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace skin;

namespace {

QRgb pixel(const DirectUI& ui, int x, int y) {
    return ui.frontSurface().image().pixel(x, y) | 0xFF000000u;
}

// A window with the test skin, 500 x 300, shown on the offscreen screen.
class DirectUITest : public ::testing::Test {
  protected:
    void skinAndShow(int w = 500, int h = 300) {
        window.resize(w, h);
        window.setWindowTitle("Caption");
        ui.Skin("Test", &window, skin.appFolder());
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    // Button centres at W = 500: close 477, maximise 440, minimise 410, skin menu 380; y 12.
    SkinFolder skin;
    QWidget window;
    DirectUI ui;
};

} // namespace

TEST_F(DirectUITest, DrawsPiecesButtonsAndCaptionIntoTheFrontSurface) {
    skinAndShow();
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    ASSERT_EQ(ui.frontSurface().width(), 500);
    EXPECT_EQ(pixel(ui, 250, 150), SkinFolder::centre());
    EXPECT_EQ(pixel(ui, 0, 150), SkinFolder::side());
    EXPECT_EQ(pixel(ui, 499, 150), SkinFolder::side());
    EXPECT_EQ(pixel(ui, 300, 2), SkinFolder::top());
    EXPECT_EQ(pixel(ui, 477, 12), SkinFolder::button(0, 0));
    EXPECT_EQ(pixel(ui, 440, 12), SkinFolder::button(2, 0)); // the maximise column while not maximised
    EXPECT_EQ(pixel(ui, 380, 12), SkinFolder::button(4, 0));
    bool caption = false;
    for (int x = 4; x < 60; ++x)
        for (int y = 8; y < 24; ++y)
            caption = caption || pixel(ui, x, y) != SkinFolder::top();
    EXPECT_TRUE(caption);
    // The rounded shape leaves out the very corner.
    EXPECT_FALSE(window.mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(window.mask().contains(QPoint(250, 0)));
    EXPECT_EQ(window.minimumWidth(), ui.frameLayout().band.width() + 56);
}

TEST_F(DirectUITest, ANewCaptionIsDrawnWithoutAResize) {
    window.resize(500, 300);
    ui.Skin("Test", &window, skin.appFolder()); // drawn while the window has no caption yet
    window.setWindowTitle("Caption");
    const auto captionShows = [&] {
        bool caption = false;
        for (int x = 4; x < 60; ++x)
            for (int y = 8; y < 24; ++y)
                caption = caption || pixel(ui, x, y) != SkinFolder::top();
        return caption;
    };
    EXPECT_TRUE(captionShows());
    // A new caption replaces the old one whole, and leaves the buttons as they were.
    window.setWindowTitle(QString());
    EXPECT_FALSE(captionShows());
    EXPECT_EQ(pixel(ui, 477, 12), SkinFolder::button(0, 0));
}

TEST_F(DirectUITest, HiddenButtonsAreNotDrawn) {
    ui.setMaxButton(false);
    skinAndShow();
    EXPECT_EQ(pixel(ui, 440, 12), SkinFolder::top());
    EXPECT_EQ(pixel(ui, 410, 12), SkinFolder::button(3, 0));
}

TEST_F(DirectUITest, HoverFadesTheButtonTowardsItsLitImage) {
    skinAndShow();
    QTest::mouseMove(&window, QPoint(410, 12));
    EXPECT_EQ(ui.mouse().state(2), 1);
    EXPECT_TRUE(waitUntil([&] { return ui.mouse().level(2) > 15; }, 5000)) << "the 15 ms timer runs";
    while (ui.mouse().level(2) < 128)
        ui.mouse().fadeTick();
    EXPECT_EQ(pixel(ui, 410, 12), SkinFolder::button(3, 1));
    EXPECT_EQ(pixel(ui, 440, 12), SkinFolder::button(2, 0));
}

// The window gets no leave when the mouse goes from a caption button onto one of its child widgets,
// which cover most of a real window.
TEST_F(DirectUITest, ButtonGoesBackToNormalWhenTheMouseMovesOntoAChildWidget) {
    auto* child = new QWidget(&window);
    child->setGeometry(2, 24, 496, 270);
    skinAndShow();
    QTest::mouseMove(&window, QPoint(200, 15));
    QTest::mouseMove(&window, QPoint(410, 12));
    ASSERT_EQ(ui.mouse().state(2), 1);
    QTest::mouseMove(&window, QPoint(410, 40));
    EXPECT_EQ(ui.mouse().state(2), 0);
    QTest::mouseMove(&window, QPoint(410, 12)); // and lights again on the way back
    EXPECT_EQ(ui.mouse().state(2), 1);
}

TEST_F(DirectUITest, ClickRaisesControlButtonClickAndCancelKeepsTheWindow) {
    skinAndShow();
    std::vector<int> seen;
    bool cancel = true;
    QObject::connect(&ui, &DirectUI::ControlButtonClick, [&](int& index, int& x, int& y, bool& c) {
        seen = {index, x, y};
        c = cancel;
    });
    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(477, 12));
    EXPECT_EQ(ui.mouse().state(0), 2);
    QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(300, 150)); // outside: nothing
    EXPECT_TRUE(seen.empty());
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(477, 12));
    EXPECT_EQ(seen, (std::vector<int>{0, 455, 23}));
    EXPECT_TRUE(window.isVisible());
    cancel = false;
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(477, 12));
    EXPECT_FALSE(window.isVisible());
}

TEST_F(DirectUITest, DoubleClickOnTheCaptionMaximisesAndRestores) {
    skinAndShow();
    const QRect normal = window.geometry();
    QTest::mouseDClick(&window, Qt::LeftButton, {}, QPoint(200, 15));
    EXPECT_TRUE(window.isMaximized());
    EXPECT_TRUE(window.mask().isEmpty());
    QTest::mouseDClick(&window, Qt::LeftButton, {}, QPoint(200, 15));
    EXPECT_FALSE(window.isMaximized());
    EXPECT_EQ(window.geometry(), normal);
}

TEST_F(DirectUITest, AMinimiseNobodyCarriesOutIsTakenBackAndMaximiseEndsIt) {
    skinAndShow();
    // The offscreen screen, like a display without a window manager, leaves the window on screen.
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(410, 12));
    EXPECT_TRUE(window.isMinimized());
    EXPECT_TRUE(waitUntil([&] { return !window.isMinimized(); }, 5000));
    EXPECT_TRUE(window.isVisible());

    ui.minimise();
    ui.toggleMaximised();
    EXPECT_EQ(window.windowState(), Qt::WindowMaximized);
    ui.minimise();
    ui.toggleMaximised();
    EXPECT_EQ(window.windowState(), Qt::WindowNoState);
}

TEST_F(DirectUITest, WithoutAWindowManagerTheCaptionMovesAndTheBorderSizesTheWindow) {
    skinAndShow();
    const QPoint start = window.pos();
    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(200, 15));
    QTest::mouseMove(&window, QPoint(230, 35));
    QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(200, 15));
    EXPECT_EQ(window.pos(), start + QPoint(30, 20));

    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(499, 150));
    QTest::mouseMove(&window, QPoint(539, 150));
    QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(539, 150));
    EXPECT_EQ(window.width(), 540);
    EXPECT_EQ(ui.frontSurface().width(), 540);
    EXPECT_EQ(window.cursor().shape(), Qt::SizeHorCursor);
}

TEST_F(DirectUITest, SizingCursorsShowOnlyOverTheBorders) {
    skinAndShow();
    QTest::mouseMove(&window, QPoint(499, 150));
    EXPECT_EQ(window.cursor().shape(), Qt::SizeHorCursor);
    QTest::mouseMove(&window, QPoint(250, 150)); // content rectangle
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
    QTest::mouseMove(&window, QPoint(300, 1));
    EXPECT_EQ(window.cursor().shape(), Qt::SizeVerCursor);
    QTest::mouseMove(&window, QPoint(410, 12)); // minimise button, in the band
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
    QTest::mouseMove(&window, QPoint(0, 299));
    EXPECT_EQ(window.cursor().shape(), Qt::SizeBDiagCursor);
    QTest::mouseMove(&window, QPoint(200, 15)); // caption
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(DirectUITest, TheWindowsOwnMouseAndKeyHandlersDoNotSeeFrameInput) {
    struct Counting : QWidget {
        int presses = 0, keys = 0, resizes = 0;
        void mousePressEvent(QMouseEvent*) override { ++presses; }
        void keyPressEvent(QKeyEvent*) override { ++keys; }
        void resizeEvent(QResizeEvent*) override { ++resizes; }
    } counting;
    counting.resize(400, 300);
    DirectUI own;
    own.Skin("Test", &counting, skin.appFolder());
    counting.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&counting));
    QTest::mouseClick(&counting, Qt::LeftButton, {}, QPoint(200, 200));
    QTest::keyClick(&counting, Qt::Key_A);
    counting.resize(420, 300);
    EXPECT_EQ(counting.presses, 0);
    EXPECT_EQ(counting.keys, 0);
    EXPECT_GE(counting.resizes, 1); // after-listed: the window's own handler runs first
    EXPECT_EQ(own.frontSurface().width(), 420);
}

TEST_F(DirectUITest, MissingCaptionButtonKeyStopsTheLayoutWithoutDrawing) {
    skin.remove("Cmd.Width");
    skinAndShow();
    EXPECT_TRUE(ui.frontSurface().isNull());
    EXPECT_FALSE(window.grab().isNull());
    skin.set("Cmd.Width", "30");
    window.resize(480, 300);
    EXPECT_EQ(ui.frontSurface().width(), 480);
}

TEST_F(DirectUITest, BrokenSkinsDrawWhatTheyCanAndNeverCrash) {
    skin.write("main.bmp", QByteArray("BM\x10\x00\x00\x00 broken", 14));
    skin.write("SysButton.bmp", QByteArray());
    skin.set("TopLeft", "99999999");
    skin.set("CetCeter", "-500");
    skin.set("SizeX1", "-3");
    skin.set("Cmd.Height", "&H7FFFFFFF");
    skin.set("Cmd.Left", "1e300");
    skinAndShow();
    for (QSize size : {QSize(10, 10), QSize(1, 1), QSize(3000, 40)}) {
        window.resize(size);
        QTest::mouseMove(&window, QPoint(0, 0));
        ui.mouse().fadeTick(); // as the fade timer does: blends the buttons at this size
        EXPECT_FALSE(window.grab().isNull());
    }

    SkinFolder other;
    QWidget missing;
    DirectUI none;
    missing.resize(300, 200);
    none.Skin("NoSuchSkin", &missing, other.appFolder());
    missing.show();
    EXPECT_TRUE(none.frontSurface().isNull());
    EXPECT_FALSE(missing.grab().isNull());
}

TEST_F(DirectUITest, ASecondSkinReloadsAndRedrawsTheSameWindow) {
    skinAndShow();
    skin.set("CaptionColor", "255");
    ui.Skin("Test", &window, skin.appFolder());
    EXPECT_EQ(ui.skinValues().captionColor, 255);
    EXPECT_EQ(pixel(ui, 250, 150), SkinFolder::centre());
}

TEST_F(DirectUITest, SkinMenuButtonCallsTheHookAndTheSystemMenuFollowsTheWindowState) {
    skinAndShow();
    int shown = 0;
    setSkinMenuHandler([&] { ++shown; });
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(380, 12));
    EXPECT_EQ(shown, 1);
    setSkinMenuHandler({});
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(380, 12)); // no hook: nothing

    auto enabled = [&] {
        std::unique_ptr<QMenu> menu(ui.makeSystemMenu(nullptr));
        std::vector<bool> flags;
        for (QAction* action : menu->actions())
            if (!action->isSeparator()) flags.push_back(action->isEnabled());
        return flags; // restore, minimise, maximise, close
    };
    EXPECT_EQ(enabled(), (std::vector<bool>{false, true, true, true}));
    ui.toggleMaximised();
    EXPECT_EQ(enabled(), (std::vector<bool>{true, true, false, true}));
    ui.setMinButton(false);
    EXPECT_EQ(enabled(), (std::vector<bool>{true, false, false, true}));
}
