#include "library/qt/PlayTracker.h"

#include "TempDir.h"

#include <QWidget>
#include <gtest/gtest.h>

// Play time is the time the window was shown and not minimised, in whole seconds; the part of a
// second left over stays counted for the next addition, and the rest is added when the window goes.
TEST(PlayTrackerTest, CountsThePlayAndTheTimeShownAndNotMinimised) {
    TempDir folder;
    auto library = library::PlayLibrary::open(folder.path());
    ASSERT_TRUE(library);
    std::int64_t now = 1000;
    PlayTracker tracker(*library, folder.path(), nullptr, [&now] { return now; });
    const std::string link = "http://127.0.0.1:1/appweb/app?id=1";

    auto* window = new QWidget;
    window->show();
    tracker.record(window, {link, "俄罗斯方块", true, "blocks.swf", ""});
    EXPECT_EQ(library->find(link)->plays, 1);
    EXPECT_EQ(library->find(link)->name, "俄罗斯方块");

    now += 30'000;
    window->showMinimized();
    now += 100'000; // minimised: not counted
    window->showNormal();
    now += 10'500;
    tracker.flush();
    EXPECT_EQ(library->find(link)->seconds, 40);

    now += 4'600;
    window->hide();
    now += 50'000; // hidden: not counted
    delete window;
    EXPECT_EQ(library->find(link)->seconds, 45); // 0.5 s left over + 4.6 s
}
