#include "controls/ucProgressBar.h"

#include "controls/ProgressBarError.h"

#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace {

// A bar with every event written to a log.
struct LoggedBar {
    ucProgressBar bar;
    std::vector<std::string> log;

    explicit LoggedBar(int width = 200, int height = 12) {
        bar.Change = [this] { log.push_back("Change"); };
        bar.ArrivedLast = [this] { log.push_back("ArrivedLast"); };
        bar.ArrivedFirst = [this] { log.push_back("ArrivedFirst"); };
        bar.Repaint = [this] { log.push_back("Repaint"); };
        bar.setSurfaceSize(width, height);
        log.clear();
    }
    std::vector<std::string> take() { return std::exchange(log, {}); }
};

using Log = std::vector<std::string>;
using Rect = ucProgressBar::Rect;

ProgressBarError::Number errorOf(const std::function<void()>& assign) {
    try {
        assign();
    } catch (const ProgressBarError& e) {
        return e.number();
    }
    return ProgressBarError::Number{};
}

constexpr auto kMaxInt = std::numeric_limits<std::int32_t>::max();
constexpr auto kMinInt = std::numeric_limits<std::int32_t>::min();

} // namespace

TEST(ucProgressBar, ValueEventsComeInOrder) {
    LoggedBar b;
    b.bar.setValue(100);
    EXPECT_EQ(b.take(), (Log{"Repaint", "Change", "ArrivedLast"}));
    b.bar.setValue(0);
    EXPECT_EQ(b.take(), (Log{"Repaint", "Change", "ArrivedFirst"}));
    b.bar.setValue(0);
    EXPECT_EQ(b.take(), (Log{"Repaint"})); // same value: repaint only
    b.bar.setValue(50);
    EXPECT_EQ(b.take(), (Log{"Repaint", "Change"}));
}

TEST(ucProgressBar, RejectedAssignmentsChangeNothing) {
    LoggedBar b;
    b.bar.setValue(40);
    b.take();
    EXPECT_EQ(errorOf([&] { b.bar.setValue(101); }), ProgressBarError::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { b.bar.setValue(-1); }), ProgressBarError::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { b.bar.setMax(0); }), ProgressBarError::InvalidPropertyValue);   // Max = Min
    EXPECT_EQ(errorOf([&] { b.bar.setMin(100); }), ProgressBarError::InvalidPropertyValue); // Min = Max
    EXPECT_EQ(errorOf([&] { b.bar.setMin(200); }), ProgressBarError::InvalidPropertyValue);
    EXPECT_EQ(b.bar.Value(), 40);
    EXPECT_EQ(b.bar.Min(), 0);
    EXPECT_EQ(b.bar.Max(), 100);
    EXPECT_TRUE(b.take().empty());
}

TEST(ucProgressBar, RangesBeyondThirtyTwoBitsOverflowAndChangeNothing) {
    LoggedBar b;
    b.bar.setMax(kMaxInt);
    EXPECT_EQ(errorOf([&] { b.bar.setMin(-1); }), ProgressBarError::Overflow);
    EXPECT_EQ(b.bar.Min(), 0);
    b.bar.setMax(10);
    b.bar.setMin(kMinInt + 11); // range kMaxInt
    EXPECT_EQ(errorOf([&] { b.bar.setMax(11); }), ProgressBarError::Overflow);
    EXPECT_EQ(b.bar.Max(), 10);
    b.bar.setCaptionFormat(5);
    b.bar.setValue(10);
    EXPECT_EQ(b.bar.caption(), "100%");
}

TEST(ucProgressBar, MinMovesValueButMaxDoesNot) {
    LoggedBar b;
    b.bar.setCaptionFormat(2);
    b.bar.setValue(50);
    b.take();
    b.bar.setMin(10);
    EXPECT_EQ(b.bar.Value(), 10);
    EXPECT_EQ(b.take(), (Log{"Repaint", "Change", "ArrivedFirst", "Repaint"}));
    EXPECT_EQ(b.bar.caption(), "11%"); // 10 / 90, with the new range

    b.bar.setValue(80);
    b.bar.setMax(60);
    EXPECT_EQ(b.bar.Value(), 80); // stays above the lowered Max until set again
    EXPECT_EQ(errorOf([&] { b.bar.setValue(80); }), ProgressBarError::InvalidPropertyValue);
}

TEST(ucProgressBar, CaptionFormats) {
    ucProgressBar bar;
    bar.setValue(37);
    const std::vector<std::pair<int, std::string>> expected = {
        {0, ""},      {1, "37"},     {2, "37%"}, {3, "37.0%"}, {4, "37.00%"}, {5, "37%"},
        {6, "37.0%"}, {7, "37.00%"}, {8, ""},    {-1, ""},     {98, ""}};
    for (const auto& [format, caption] : expected) {
        bar.setCaptionFormat(format);
        EXPECT_EQ(bar.caption(), caption) << "format " << format;
    }
    bar.setCaptionCustom("Loading");
    bar.setCaptionFormat(99);
    EXPECT_EQ(bar.caption(), "Loading");

    bar.setMax(150);
    bar.setMin(50);
    bar.setValue(100);
    bar.setCaptionFormat(2);
    EXPECT_EQ(bar.caption(), "100%"); // Value / range
    bar.setCaptionFormat(5);
    EXPECT_EQ(bar.caption(), "50%"); // (Value - Min) / range
    bar.setMin(-100);
    bar.setValue(-1);
    bar.setCaptionFormat(1);
    EXPECT_EQ(bar.caption(), "-1");

    // Exact halves of the percent patterns go away from zero.
    bar.setMin(0);
    bar.setMax(8);
    bar.setValue(1);
    bar.setCaptionFormat(2);
    EXPECT_EQ(bar.caption(), "13%");
    bar.setMax(32);
    bar.setCaptionFormat(7);
    EXPECT_EQ(bar.caption(), "3.13%");
}

TEST(ucProgressBar, HorizontalFrames) {
    LoggedBar b(200, 12);
    EXPECT_FALSE(b.bar.frame().fore); // Value = Min: no fore picture
    b.bar.setValue(50);
    EXPECT_EQ(b.bar.frame().fore, (Rect{0, 0, 100, 12}));
    b.bar.setValue(100);
    EXPECT_EQ(b.bar.frame().fore, (Rect{0, 0, 200, 12}));
    b.bar.setSurfaceSize(287, 29);
    b.bar.setValue(37);
    EXPECT_EQ(b.bar.frame().fore, (Rect{0, 0, 106, 29})); // 106.19
    b.bar.setSurfaceSize(100, 10);
    b.bar.setMax(200);
    b.bar.setValue(5);
    EXPECT_EQ(b.bar.frame().fore, (Rect{0, 0, 2, 10})); // 2.5 goes to the even 2
    b.bar.setValue(7);
    EXPECT_EQ(b.bar.frame().fore, (Rect{0, 0, 4, 10})); // 3.5 goes to 4
    b.bar.setValue(200);
    b.bar.setMax(100);
    EXPECT_EQ(b.bar.frame().fore, (Rect{0, 0, 100, 10})); // overshoot cut at the edge
    b.bar.setOrientation(2);
    EXPECT_FALSE(b.bar.frame().fore);
}

TEST(ucProgressBar, VerticalFramesGrowFromTheBottom) {
    LoggedBar b(20, 40);
    b.bar.setOrientation(1);
    b.bar.setValue(25);
    EXPECT_EQ(b.bar.frame().fore, (Rect{0, 30, 20, 10}));
    b.bar.setValue(100);
    EXPECT_EQ(b.bar.frame().fore, (Rect{0, 0, 20, 40}));
    b.bar.setValue(0);
    EXPECT_FALSE(b.bar.frame().fore);
}

TEST(ucProgressBar, CaptionOriginIsCentred) {
    EXPECT_EQ(ucProgressBar::captionOrigin(287, 29, 27, 13), (std::pair{130, 8}));
    EXPECT_EQ(ucProgressBar::captionOrigin(200, 12, 21.5, 13), (std::pair{89, 0})); // 178.5 -> 178, 1/2 -> 0
    EXPECT_EQ(ucProgressBar::captionOrigin(10, 10, 15, 10), (std::pair{-2, 0}));    // -5 halved toward zero
}

TEST(ucProgressBar, LeftDragFollowsThePointerAndStopsAtTheEnds) {
    LoggedBar b(200, 12);
    b.bar.mousePress(ucProgressBar::LeftButton, 50, 5);
    EXPECT_EQ(b.bar.Value(), 25);
    b.bar.mouseMove(101, 5);
    EXPECT_EQ(b.bar.Value(), 50); // 50.5 to the even 50
    b.bar.mouseMove(500, -20);
    EXPECT_EQ(b.bar.Value(), 100);
    b.bar.mouseMove(-30, 40);
    EXPECT_EQ(b.bar.Value(), 0);
    b.bar.mouseRelease();
    b.bar.mouseMove(150, 5);
    EXPECT_EQ(b.bar.Value(), 0);
    b.bar.mousePress(ucProgressBar::LeftButton, 200, 5); // outside: ignored
    EXPECT_FALSE(b.bar.dragging());

    b.bar.setOrientation(1);
    b.bar.setSurfaceSize(20, 40);
    b.bar.mousePress(ucProgressBar::LeftButton, 5, 30);
    EXPECT_EQ(b.bar.Value(), 25);
}

TEST(ucProgressBar, RightPressStepsByOneAndOtherButtonsDoNothing) {
    LoggedBar b(200, 12);
    b.bar.setValue(60);
    b.bar.mousePress(ucProgressBar::RightButton, 20, 5);
    EXPECT_EQ(b.bar.Value(), 59);
    b.bar.mousePress(ucProgressBar::RightButton, 190, 5);
    EXPECT_EQ(b.bar.Value(), 60);
    b.bar.mouseDoubleClick(); // repeats the right press
    EXPECT_EQ(b.bar.Value(), 61);
    b.bar.mousePress(ucProgressBar::RightButton, 122, 5); // the pointer is at 61
    EXPECT_EQ(b.bar.Value(), 61);
    b.take();
    b.bar.mousePress(ucProgressBar::MiddleButton, 20, 5);
    EXPECT_EQ(b.bar.Value(), 61);
    EXPECT_TRUE(b.take().empty());
    EXPECT_FALSE(b.bar.dragging());
}

TEST(ucProgressBar, MouseValuesOutsideMinMaxAreIgnored) {
    PropertyBag bag;
    bag.WriteProperty("Min", std::int32_t{100});
    bag.WriteProperty("Max", std::int32_t{0});
    bag.WriteProperty("Value", std::int32_t{50});
    ucProgressBar bar;
    bar.ReadProperties(bag, "");
    bar.setSurfaceSize(200, 12);
    bar.mousePress(ucProgressBar::LeftButton, 10, 5);
    bar.mousePress(ucProgressBar::RightButton, 10, 5);
    EXPECT_EQ(bar.Value(), 50);
    bar.setOrientation(7);
    EXPECT_EQ(bar.valueAt(10, 5), 0); // no orientation: 0, not Min
}

TEST(ucProgressBar, LoadingStoresValuesWithoutChecksOrEvents) {
    PropertyBag bag;
    bag.WriteProperty("CaptionFormat", std::int32_t{2});
    bag.WriteProperty("Max", std::int32_t{40});
    bag.WriteProperty("Min", std::int32_t{40});
    bag.WriteProperty("Value", std::int32_t{40});
    bag.WriteProperty("Orientation", std::string("not a number"));
    LoggedBar b;
    auto surface = b.bar.ReadProperties(bag, "Sans,9");
    EXPECT_TRUE(b.take().empty());
    EXPECT_EQ(b.bar.Min(), 40);
    EXPECT_EQ(b.bar.Max(), 40);
    EXPECT_EQ(b.bar.Orientation(), 0); // wrong kind: default
    EXPECT_EQ(surface.font, "Sans,9");
    EXPECT_EQ(surface.fontColor, ucProgressBar::kButtonTextColor);
    EXPECT_TRUE(surface.enabled);
    // Max = Min: the range is 0, so neither bar nor caption.
    auto frame = b.bar.frame();
    EXPECT_FALSE(frame.fore);
    EXPECT_EQ(frame.caption, "");

    // Min and Max further apart than 32 bits, and Value - Min overflowing too.
    bag.WriteProperty("Min", kMinInt);
    bag.WriteProperty("Max", kMaxInt);
    bag.WriteProperty("Value", kMaxInt);
    bag.WriteProperty("CaptionFormat", std::int32_t{1});
    b.bar.ReadProperties(bag, "");
    frame = b.bar.frame();
    EXPECT_FALSE(frame.fore);
    EXPECT_EQ(frame.caption, "");
    EXPECT_FALSE(b.bar.valueAt(10, 5));
}

TEST(ucProgressBar, LoadedValueCountsAsReported) {
    PropertyBag bag;
    bag.WriteProperty("Value", std::int32_t{50});
    LoggedBar b;
    b.bar.ReadProperties(bag, "");
    b.bar.setValue(50);
    EXPECT_EQ(b.take(), (Log{"Repaint"}));
    b.bar.setValue(0);
    EXPECT_EQ(b.take(), (Log{"Repaint", "Change", "ArrivedFirst"}));
}

TEST(ucProgressBar, SavedPropertiesRoundTripInTheirOrder) {
    ucProgressBar bar;
    bar.setMax(200);
    bar.setMin(-5);
    bar.setValue(70);
    bar.setOrientation(1);
    bar.setCaptionFormat(99);
    bar.setCaptionCustom("Busy");
    ucProgressBar::SurfaceSettings surface{false, 0x0000FF, "Serif,12", "icon", "fore", "back", 99};

    PropertyBag bag;
    bar.WriteProperties(bag, surface, "Sans,9");
    std::vector<std::string> names;
    for (const auto& entry : bag.entries())
        names.push_back(entry.first);
    EXPECT_EQ(names, (std::vector<std::string>{"BarPictureFore", "BarPictureBack", "CaptionCustom",
                                               "CaptionFormat", "Enabled", "Font", "FontColor", "Max", "Min",
                                               "MouseIcon", "Orientation", "Value", "MousePointer"}));

    ucProgressBar loaded;
    auto back = loaded.ReadProperties(bag, "Sans,9");
    EXPECT_EQ(loaded.Max(), 200);
    EXPECT_EQ(loaded.Min(), -5);
    EXPECT_EQ(loaded.Value(), 70);
    EXPECT_EQ(loaded.Orientation(), 1);
    EXPECT_EQ(loaded.caption(), "Busy");
    EXPECT_FALSE(back.enabled);
    EXPECT_EQ(back.fontColor, 0x0000FF);
    EXPECT_EQ(back.font, "Serif,12");
    EXPECT_EQ(back.mouseIcon, "icon");
    EXPECT_EQ(back.barPictureFore, "fore");
    EXPECT_EQ(back.barPictureBack, "back");
    EXPECT_EQ(back.mousePointer, 99);

    // Defaults are not stored.
    PropertyBag plain;
    ucProgressBar::SurfaceSettings defaults;
    defaults.font = "Sans,9";
    ucProgressBar().WriteProperties(plain, defaults, "Sans,9");
    EXPECT_TRUE(plain.entries().empty());
}
