#include "library/PlayLibrary.h"

#include "TempDir.h"
#include "base/AtomicFile.h"
#include "sqlite/Error.h"
#include "viewer/KeptApps.h"
#include "viewer/MoviePlace.h"

#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace library;
namespace fs = std::filesystem;

namespace {

// A movie app as the viewer keeps it in Apps/ when it opens.
void keepMovieApp(const fs::path& appFolder, const std::string& link, const std::string& name,
                  const std::string& movieFile) {
    viewer::OpenedApp app;
    app.IsWidgetApp = true;
    app.CurrentApp.Name = name;
    app.CurrentApp.ContentUrl = "http://127.0.0.1:8780/widget/swf/" + movieFile;
    app.CurrentApp.MovieFile = movieFile;
    ASSERT_TRUE(viewer::KeptApps(appFolder).keep(link, app));
}

std::string integrity(const fs::path& file) {
    sqlite3* db = nullptr;
    std::string result = "cannot open";
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_exec(
            db, "PRAGMA integrity_check",
            [](void* out, int, char** values, char**) {
                *static_cast<std::string*>(out) = values[0] ? values[0] : "";
                return 0;
            },
            &result, nullptr);
    }
    sqlite3_close(db);
    return result;
}

} // namespace

TEST(PlayLibraryTest, CountsPlaysAndTimeKeepsDetailsAndListsTheMostRecentFirst) {
    TempDir folder;
    auto library = PlayLibrary::open(folder.path());
    ASSERT_TRUE(library);
    ASSERT_NO_THROW(library->recordOpen("http://s/app?id=1", "贪吃蛇", true, "snake.swf", "1.png", 100));
    ASSERT_NO_THROW(library->recordOpen("http://s/app?id=2", "农场", false, "", "", 200));
    // Opened again offline: no icon and no new name known, the kept ones stay.
    ASSERT_NO_THROW(library->recordOpen("http://s/app?id=1", "", true, "snake.swf", "", 300));
    ASSERT_TRUE(library->addPlayTime("http://s/app?id=1", 60));
    ASSERT_TRUE(library->addPlayTime("http://s/app?id=1", 15));
    EXPECT_FALSE(library->addPlayTime("http://s/app?id=9", 60)) << "no such app";
    ASSERT_TRUE(library->setFavourite("http://s/app?id=2", true));

    const std::vector<PlayedApp> expected{
        {"http://s/app?id=1", "贪吃蛇", true, "snake.swf", "1.png", 2, 75, 300, false},
        {"http://s/app?id=2", "农场", false, "", "", 1, 0, 200, true},
    };
    EXPECT_EQ(library->list(), expected);
    library.reset();
    // Another process (the command line) sees the same.
    EXPECT_EQ(PlayLibrary::open(folder.path())->list(), expected);

    library = PlayLibrary::open(folder.path());
    ASSERT_TRUE(library->remove("http://s/app?id=1"));
    EXPECT_EQ(library->list(), std::vector<PlayedApp>{expected[1]});
    EXPECT_EQ(library->find("http://s/app?id=1"), std::nullopt);
}

TEST(PlayLibraryTest, TheFirstStartListsTheAppsKeptBeforeAndADamagedFileIsSetAsideAndRebuilt) {
    TempDir folder;
    keepMovieApp(folder.path(), "http://s/app?id=1", "贪吃蛇", "snake.swf");
    keepMovieApp(folder.path(), "http://s/app?id=2", "俄罗斯方块", "blocks.swf?level=2");
    {
        auto library = PlayLibrary::open(folder.path());
        ASSERT_TRUE(library);
        const auto apps = library->list();
        ASSERT_EQ(apps.size(), 2u);
        for (const auto& app : apps) {
            EXPECT_TRUE(app.isMovie);
            EXPECT_EQ(app.plays, 1);
            EXPECT_GT(app.lastPlayed, 1'600'000'000);
        }
        // Its movie is not in Game yet: it will be kept in its site folder.
        EXPECT_EQ(library->find("http://s/app?id=2")->movieFile,
                  viewer::MoviePlace::of("http://127.0.0.1:8780/widget/swf/blocks.swf?level=2")
                      ->movieFile()
                      .string());
        EXPECT_EQ(library->find("http://s/app?id=1")->name, "贪吃蛇");
        library->recordOpen("http://s/app?id=3", "网页游戏", false, "", "", 1000);
        EXPECT_TRUE(library->setAside().empty());
    }
    // Opening again imports nothing anew: the counts stay.
    EXPECT_EQ(PlayLibrary::open(folder.path())->find("http://s/app?id=1")->plays, 1);

    // Damage: the middle of the file overwritten (its pages), then a file that is no database.
    const fs::path file = folder.path() / PlayLibrary::FileName;
    for (const std::string damage : {"page", "header"}) {
        std::string bytes(fs::file_size(file), '\0');
        {
            std::FILE* in = std::fopen(file.c_str(), "rb");
            ASSERT_EQ(std::fread(bytes.data(), 1, bytes.size(), in), bytes.size());
            std::fclose(in);
        }
        if (damage == "page")
            std::fill(bytes.begin() + 4096, bytes.end(), '\x5a');
        else
            bytes = "not a library at all";
        ASSERT_TRUE(base::writeFileAtomic(file, bytes));

        auto library = PlayLibrary::open(folder.path());
        ASSERT_TRUE(library) << damage;
        ASSERT_FALSE(library->setAside().empty()) << damage;
        EXPECT_EQ(fs::file_size(library->setAside()), bytes.size()) << "kept as it was";
        // Rebuilt from Apps/: the movie apps come back, the page app (never kept) does not.
        const auto apps = library->list();
        ASSERT_EQ(apps.size(), 2u) << damage;
        EXPECT_EQ(library->find("http://s/app?id=3"), std::nullopt);
        EXPECT_EQ(integrity(file), "ok");
        library->recordOpen("http://s/app?id=3", "网页游戏", false, "", "", 2000);
        library.reset();
    }

    // A file that cannot be opened now (here a folder in its place) is no damage: left alone.
    TempDir other;
    fs::create_directory(other.path() / PlayLibrary::FileName);
    EXPECT_EQ(PlayLibrary::open(other.path()), nullptr);
    EXPECT_TRUE(fs::is_directory(other.path() / PlayLibrary::FileName));
    EXPECT_EQ(std::distance(fs::directory_iterator(other.path()), fs::directory_iterator()), 1);
}

TEST(PlayLibraryTest, AKillDuringWritesLosesNoCommittedChangeAndNeverDamagesTheFile) {
    TempDir folder;
    PlayLibrary::open(folder.path()); // made before the child, so only the writes race the kill
    for (int round = 0; round < 3; ++round) {
        int pipeEnds[2];
        ASSERT_EQ(::pipe(pipeEnds), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipeEnds[0]);
            auto library = PlayLibrary::open(folder.path());
            for (std::int64_t i = 0;; ++i) {
                const std::string link = "http://s/app?id=" + std::to_string(i % 50);
                library->recordOpen(link, "游戏 " + std::to_string(i % 50), i % 2 == 0, "", "", i);
                if (!library->addPlayTime(link, 1)) ::_exit(1);
                const char done = 1;
                if (::write(pipeEnds[1], &done, 1) != 1) ::_exit(1);
            }
        }
        ::close(pipeEnds[1]);
        const std::int64_t before = [&] {
            std::int64_t total = 0;
            const auto apps = PlayLibrary::open(folder.path())->list();
            for (const auto& app : apps)
                total += app.seconds;
            return total;
        }();
        // Killed after a number of writes that varies with the round, in the middle of others.
        char buffer[64];
        std::int64_t committed = 0;
        while (committed < 60 + round * 37) {
            const auto got = ::read(pipeEnds[0], buffer, sizeof buffer);
            ASSERT_GT(got, 0) << "the writer stopped";
            committed += got;
        }
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(pipeEnds[0]);

        EXPECT_EQ(integrity(folder.path() / PlayLibrary::FileName), "ok");
        auto library = PlayLibrary::open(folder.path());
        ASSERT_TRUE(library);
        EXPECT_TRUE(library->setAside().empty()) << "nothing was damaged";
        std::int64_t total = 0;
        const auto apps = library->list();
        for (const auto& app : apps)
            total += app.seconds;
        EXPECT_GE(total - before, committed) << "every write the child saw committed is there";
    }
}

// A change SQLite refuses (here: another program replaced the table under an open library) throws
// to the caller, which learns that waiting does not help and why, for the player.
TEST(PlayLibraryTest, AChangeThatFailsReachesTheCallerWithWhyAndWhetherWaitingHelps) {
    TempDir folder;
    auto library = PlayLibrary::open(folder.path());
    ASSERT_TRUE(library);
    library->recordOpen("http://s/app?id=1", "象棋", true, "s/chess.swf", "", 1000);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open((folder.path() / PlayLibrary::FileName).c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "DROP TABLE apps; CREATE TABLE apps(x)", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(other);

    for (const auto& change : std::vector<std::function<void()>>{
             [&] { library->setFavourite("http://s/app?id=1", true); },
             [&] { library->recordOpen("http://s/app?id=1", "象棋", true, "", "", 2000); }}) {
        try {
            change();
            ADD_FAILURE() << "the failed change was not reported";
        } catch (const sqlite::Error& error) {
            const LibraryProblem problem = LibraryProblem::of(error);
            EXPECT_FALSE(problem.busy);
            EXPECT_NE(problem.why.find("Library.db"), std::string::npos) << problem.why;
        }
    }
}
