// Library.db held by another connection that keeps it locked (as another program's transaction
// would): the 我的游戏 page says the records cannot be read now instead of listing nothing, and a
// play made meanwhile is not said as lost but recorded once the file is free again.

#include "HeldLibrary.h"

#include "TempDir.h"
#include "WaitUntil.h"
#include "library/qt/LibraryPage.h"
#include "library/qt/LibraryService.h"
#include "library/qt/PlayTracker.h"

#include <QWidget>
#include <gtest/gtest.h>

TEST(HeldLibraryTest, IsSaidRatherThanListedEmptyAndAPlayMeanwhileIsRecordedOnceFree) {
    TempDir folder;
    const std::string before = "http://127.0.0.1:1/appweb/app?id=1";
    const std::string during = "http://127.0.0.1:1/appweb/app?id=2";
    ASSERT_NO_THROW(
        library::PlayLibrary::open(folder.path())->recordOpen(before, "象棋", true, "chess.swf", "", 1000));
    auto holder = std::make_unique<HeldLibrary>(folder.path() / library::PlayLibrary::FileName);
    ASSERT_TRUE(holder->held());

    LibraryService library(folder.path());
    LibraryPage page(folder.path(), library, Qt::white);
    page.refresh();
    ASSERT_TRUE(waitUntil([&] { return !page.busy(); }, 30000));
    EXPECT_TRUE(page.unreadable()) << "the page shows a list while the records cannot be read";
    EXPECT_FALSE(library.problem().isEmpty());

    PlayTracker tracker(library, folder.path());
    bool said = false;
    QObject::connect(&tracker, &PlayTracker::notCounted, &tracker, [&] { said = true; });
    QWidget window;
    window.show();
    tracker.record(&window, {during, "连连看", true, "pairs.swf", ""});
    ASSERT_TRUE(waitUntil([&] { return tracker.waiting(); }, 30000));
    EXPECT_FALSE(said) << "a play kept while the library is only busy is said as lost";

    holder.reset();
    ASSERT_TRUE(waitUntil([&] { return !tracker.waiting(); }, 30000));
    page.refresh();
    ASSERT_TRUE(waitUntil([&] { return !page.busy(); }, 30000));
    EXPECT_FALSE(page.unreadable());
    EXPECT_EQ(page.model()->rowCount(), 2);
    const int row = page.model()->rowOf(during);
    ASSERT_GE(row, 0);
    EXPECT_EQ(page.model()->rowAt(row)->app.plays, 1);
    EXPECT_TRUE(library.problem().isEmpty());
}
