#include "skin/FrameMouse.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace skin;

namespace {

// Records what the behaviour asks of the window, as short words.
class RecordingHost : public FrameHost {
  public:
    bool maximised = false;
    bool icon = false;
    std::vector<std::string> calls;
    std::vector<int> clicked;
    bool timerRunning = false;
    FrameCursor cursor = FrameCursor::Arrow;
    BorderZone sizingZone = BorderZone::None;

    bool isMaximised() const override { return maximised; }
    bool hasIcon() const override { return icon; }
    void captureMouse() override {}
    void releaseMouse() override {}
    void setCursor(FrameCursor c) override { cursor = c; }
    void startSizing(BorderZone zone) override {
        sizingZone = zone;
        calls.push_back("size");
    }
    void startMoving() override { calls.push_back("move"); }
    void showSystemMenu() override { calls.push_back("menu"); }
    void toggleMaximised() override {
        maximised = !maximised;
        calls.push_back("toggle");
    }
    void buttonClicked(int index, int, int) override { clicked.push_back(index); }
    void startFadeTimer() override { timerRunning = true; }
    void stopFadeTimer() override { timerRunning = false; }
    void blendButton(int, int, int) override {}
    void presentFront() override {}
};

class FrameMouseTest : public ::testing::Test {
  protected:
    FrameMouseTest() : mouse(host) {
        mouse.setLayout(FrameLayout::compute(500, 300, ButtonKeys{20, 40, 4, -5, 30}));
        mouse.setSizable(true);
    }
    // Button centres: close 475, maximise 440, minimise 410, skin menu 380; all at y 14.
    RecordingHost host;
    FrameMouse mouse;
};

} // namespace

TEST_F(FrameMouseTest, HoverLightsAButtonAndFadesItThenMovesToTheNext) {
    EXPECT_EQ(mouse.level(2), 255);
    mouse.mouseMove(0, 410, 14);
    EXPECT_EQ(mouse.state(2), 1);
    EXPECT_EQ(mouse.level(2), 15);
    EXPECT_TRUE(host.timerRunning);
    for (int i = 0; i < 20; ++i)
        mouse.fadeTick();
    EXPECT_EQ(mouse.level(2), 35);
    mouse.mouseMove(0, 475, 14);
    EXPECT_EQ(mouse.state(2), 0);
    EXPECT_EQ(mouse.level(2), 0);
    EXPECT_EQ(mouse.state(0), 1);
    EXPECT_EQ(mouse.level(0), 15);
    EXPECT_EQ(mouse.hovered(), 0);
    mouse.mouseMove(0, 497, 19); // in the band but on no button: the close button stays lit
    EXPECT_EQ(mouse.hovered(), 0);
}

TEST_F(FrameMouseTest, FadeCountsEveryButtonUpTo255ThenStopsTheTimer) {
    mouse.mouseMove(0, 475, 14); // close lit at 15, the others stay at 255
    int ticks = 0;
    while (mouse.fadeTick())
        ++ticks;
    EXPECT_EQ(ticks, 240);
    EXPECT_FALSE(host.timerRunning);
    mouse.mouseMove(0, 100, 100); // to the content: every button back to normal from level 0
    EXPECT_EQ(mouse.hovered(), -1);
    ticks = 0;
    while (mouse.fadeTick())
        ++ticks;
    EXPECT_EQ(ticks, 255);
}

TEST_F(FrameMouseTest, PressAndReleaseOnTheSameButtonClicksElsewhereNothing) {
    mouse.mouseDown(FrameMouse::Left, 475, 14);
    EXPECT_EQ(mouse.state(0), 2);
    EXPECT_EQ(mouse.level(0), 100);
    EXPECT_EQ(mouse.captureArea(), FrameArea::Band);
    mouse.mouseUp(FrameMouse::Left, 300, 100); // released outside: nothing, button back to normal
    EXPECT_TRUE(host.clicked.empty());
    EXPECT_EQ(mouse.state(0), 0);
    EXPECT_EQ(mouse.pressed(), -1);

    mouse.mouseDown(FrameMouse::Left, 440, 14);
    mouse.mouseMove(FrameMouse::Left, 410, 14);
    mouse.mouseUp(FrameMouse::Left, 410, 14); // released on another button
    EXPECT_TRUE(host.clicked.empty());

    mouse.mouseDown(FrameMouse::Right, 475, 14);
    mouse.mouseUp(FrameMouse::Right, 475, 14);
    EXPECT_TRUE(host.clicked.empty());
    EXPECT_EQ(mouse.state(0), 0);

    mouse.mouseDown(FrameMouse::Left, 475, 14);
    mouse.mouseUp(FrameMouse::Left, 476, 15);
    EXPECT_EQ(host.clicked, std::vector<int>{0});
}

TEST_F(FrameMouseTest, HiddenButtonsAreNeitherLitNorPressed) {
    mouse.setVisible(1, false);
    mouse.setVisible(0, false); // the close button cannot be hidden
    mouse.mouseMove(0, 440, 14);
    EXPECT_EQ(mouse.hovered(), -1);
    mouse.mouseDown(FrameMouse::Left, 440, 14);
    EXPECT_EQ(mouse.pressed(), -1);
    mouse.mouseUp(FrameMouse::Left, 440, 14);
    mouse.mouseMove(0, 410, 14);
    EXPECT_EQ(mouse.hovered(), 2);
    EXPECT_TRUE(mouse.visible(0));
}

TEST_F(FrameMouseTest, BordersSizeCaptionMovesAndMaximisedWindowsDoNotSize) {
    mouse.mouseMove(0, 499, 150);
    EXPECT_EQ(host.cursor, FrameCursor::Horizontal);
    mouse.mouseMove(0, 2, 299);
    EXPECT_EQ(host.cursor, FrameCursor::DiagonalUp);
    mouse.mouseDown(FrameMouse::Left, 499, 150);
    EXPECT_EQ(host.sizingZone, BorderZone::Right);
    EXPECT_EQ(mouse.captureArea(), FrameArea::None);
    mouse.mouseDown(FrameMouse::Left, 200, 15);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"size", "move"}));

    host.calls.clear();
    host.maximised = true;
    mouse.mouseDown(FrameMouse::Left, 499, 150); // not in the caption: nothing
    mouse.mouseUp(FrameMouse::Left, 499, 150);
    mouse.mouseDown(FrameMouse::Left, 300, 3); // top border but in the caption: move
    EXPECT_EQ(host.calls, (std::vector<std::string>{"move"}));

    host.calls.clear();
    host.maximised = false;
    mouse.setSizable(false);
    host.cursor = FrameCursor::Vertical;
    mouse.mouseDown(FrameMouse::Left, 499, 150);
    mouse.mouseUp(FrameMouse::Left, 499, 150);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(host.cursor, FrameCursor::Vertical); // a fixed-size window gets no cursor change
}

TEST_F(FrameMouseTest, SystemMenuFromRightClickOrIconAndDoubleClickToggles) {
    mouse.mouseDown(FrameMouse::Right, 200, 15);
    mouse.mouseUp(FrameMouse::Right, 200, 15);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"menu"}));
    host.icon = true;
    mouse.mouseDown(FrameMouse::Left, 10, 15);
    EXPECT_EQ(host.calls.back(), "menu");

    host.calls.clear();
    mouse.doubleClick(FrameMouse::Left, 200, 15);
    EXPECT_TRUE(host.maximised);
    mouse.doubleClick(FrameMouse::Left, 200, 15);
    EXPECT_FALSE(host.maximised);
    mouse.doubleClick(FrameMouse::Left, 475, 14); // band: nothing
    mouse.doubleClick(FrameMouse::Right, 200, 15);
    mouse.doubleClick(FrameMouse::Left, 200, 150);
    EXPECT_EQ(host.calls.size(), 2u);
}

TEST_F(FrameMouseTest, LeavingTheWindowFromTheBandResetsTheButtons) {
    mouse.mouseMove(0, 380, 14);
    EXPECT_EQ(mouse.hovered(), 3);
    mouse.mouseLeave();
    EXPECT_EQ(mouse.hovered(), -1);
    EXPECT_EQ(mouse.state(3), 0);
    EXPECT_EQ(mouse.hoverArea(), FrameArea::None);
}
