#include "library/qt/PlayTracker.h"

#include "TempDir.h"
#include "WaitUntil.h"

#include <QWidget>
#include <gtest/gtest.h>

// Play time is the time the window was shown and not minimised, in whole seconds; the part of a
// second left over stays counted for the next addition, and the rest is added when the window goes.
namespace {

// The app of link as another connection reads it now.
std::optional<library::PlayedApp> stored(const TempDir& folder, const std::string& link) {
    const auto library = library::PlayLibrary::open(folder.path());
    return library ? library->find(link) : std::nullopt;
}

bool storedSeconds(const TempDir& folder, const std::string& link, std::int64_t seconds) {
    return waitUntil([&] {
        const auto app = stored(folder, link);
        return app && app->seconds == seconds;
    });
}

} // namespace

TEST(PlayTrackerTest, CountsThePlayAndTheTimeShownAndNotMinimised) {
    TempDir folder;
    LibraryService library(folder.path());
    std::int64_t now = 1000;
    PlayTracker tracker(library, folder.path(), nullptr, [&now] { return now; });
    const std::string link = "http://127.0.0.1:1/appweb/app?id=1";

    auto* window = new QWidget;
    window->show();
    tracker.record(window, {link, "俄罗斯方块", true, "blocks.swf", ""});
    ASSERT_TRUE(waitUntil([&] { return stored(folder, link).has_value(); }));
    EXPECT_EQ(stored(folder, link)->plays, 1);
    EXPECT_EQ(stored(folder, link)->name, "俄罗斯方块");

    now += 30'000;
    window->showMinimized();
    now += 100'000; // minimised: not counted
    window->showNormal();
    now += 10'500;
    tracker.flush();
    EXPECT_TRUE(storedSeconds(folder, link, 40));

    now += 4'600;
    window->hide();
    now += 50'000; // hidden: not counted
    delete window;
    EXPECT_TRUE(storedSeconds(folder, link, 45)); // 0.5 s left over + 4.6 s
}
