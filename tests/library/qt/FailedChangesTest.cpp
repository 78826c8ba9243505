// A library that cannot take a change for another reason than a busy file (here another program
// replaced its table): a star clicked on 我的游戏 is told there with why, and the page then shows
// what the library holds, not the wished star (nor sizes of nothing); a play that cannot be
// counted is said once, for the window where it was made, and the next one is not said again.

#include "TempDir.h"
#include "WaitUntil.h"
#include "library/qt/LibraryPage.h"
#include "library/qt/LibraryService.h"
#include "library/qt/PlayTracker.h"

#include <QLabel>
#include <QWidget>
#include <fstream>
#include <gtest/gtest.h>
#include <sqlite3.h>

TEST(FailedChangesTest, AStarIsToldWhereItWasClickedAndAPlayIsSaidOnceForItsWindow) {
    TempDir folder;
    const std::string chess = "http://127.0.0.1:1/appweb/app?id=1";
    std::filesystem::create_directories(folder.path() / "Game" / "s");
    std::ofstream(folder.path() / "Game" / "s" / "chess.swf") << std::string(3000, 'x');
    library::PlayLibrary::open(folder.path())->recordOpen(chess, "象棋", true, "s/chess.swf", "", 1000);
    LibraryService library(folder.path());
    LibraryPage page(folder.path(), library, Qt::white);
    QStringList told;
    LibraryDialogs dialogs;
    dialogs.tell = [&](const QString& message) { told << message; };
    page.setDialogs(dialogs);
    page.refresh();
    ASSERT_TRUE(waitUntil([&] { return !page.busy(); }));
    ASSERT_TRUE(page.choose(chess));
    const auto* usage = page.findChild<QLabel*>(QStringLiteral("LibraryUsage"));
    ASSERT_TRUE(usage);
    const QString usageBefore = usage->text();

    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open((folder.path() / library::PlayLibrary::FileName).c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "DROP TABLE apps; CREATE TABLE apps(x)", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(other);

    page.toggleFavouriteChosen();
    ASSERT_TRUE(waitUntil([&] { return !page.busy() && !told.isEmpty(); }));
    EXPECT_TRUE(told.last().startsWith(QStringLiteral("没能收藏“象棋”：游戏记录（Library.db）")))
        << told.last().toStdString();
    EXPECT_TRUE(page.unreadable()) << "the page shows a star the library does not hold";
    EXPECT_EQ(usage->text(), usageBefore) << "a failed read is no empty Game/";

    PlayTracker tracker(library, folder.path());
    std::vector<std::pair<QWidget*, QString>> said;
    QObject::connect(&tracker, &PlayTracker::notCounted, &tracker,
                     [&](QWidget* window, const QString& why) { said.emplace_back(window, why); });
    QWidget first, second;
    tracker.record(&first, {chess, "象棋", true, "s/chess.swf", ""});
    ASSERT_TRUE(waitUntil([&] { return !said.empty(); }));
    EXPECT_EQ(said.front().first, &first);
    EXPECT_TRUE(said.front().second.contains(QStringLiteral("Library.db")))
        << said.front().second.toStdString();
    // Jobs answer in the order they were given: the second play's failure before the marker's.
    tracker.record(&second, {chess, "象棋", true, "s/chess.swf", ""});
    bool marker = false;
    library.run([](library::PlayLibrary*) { return true; }, &tracker, [&](bool) { marker = true; });
    ASSERT_TRUE(waitUntil([&] { return marker; }));
    EXPECT_EQ(said.size(), 1u);
    EXPECT_TRUE(tracker.waiting()) << "the plays are kept for when the library serves again";
}
