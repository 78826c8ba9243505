// The 我的游戏 page in the catalogue window against the built appstore, which serves the tests' play
// counter (plays.swf) as the store's first game: apps opened from the catalogue are counted and
// listed (filtered by name, starred), and a game's saves are backed up, deleted (the game starts afresh) and
// restored (it goes on from the backed-up count) through the page's buttons, the file dialog answered by the
// test.

#include "CatalogueSession.h"
#include "HeldLibrary.h"
#include "TempDir.h"
#include "WaitUntil.h"
#include "library/PlayLibrary.h"
#include "library/qt/LibraryPage.h"
#include "library/qt/PlayTracker.h"
#include "viewer/MoviePlace.h"
#include "viewer/SolFile.h"
#include "viewer/qt/AppOpener.h"
#include "viewer/qt/PlayerGroup.h"
#include "viewer/qt/PlayerSchemeHandler.h"

#include <QLineEdit>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

const bool schemeRegistered = (PlayerSchemeHandler::registerScheme(), true);

// The store's first app (俄罗斯方块) plays blocks.swf, here the play counter.
constexpr const char* CounterMovie = "blocks.swf";

fs::path countersFolder(const TempDir& dir) {
    fs::copy_file(fs::path(TEST_MOVIES) / "plays.swf", dir.path() / CounterMovie);
    return dir.path();
}

class LibraryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(schemeRegistered);
        session.open();
        MainFrm& window = session.window();
        ASSERT_TRUE(window.playLibrary());
        opener = std::make_unique<AppOpener>(session.folder().path(), window.settings(),
                                             session.store().site(), session.web(), players);
        tracker = std::make_unique<PlayTracker>(*window.playLibrary(), session.folder().path());
        QObject::connect(&window, &MainFrm::appLinkClicked, opener.get(), &AppOpener::open);
        QObject::connect(opener.get(), &AppOpener::opened, tracker.get(), [this](FlashPayFrm* viewer) {
            tracker->trackViewer(viewer, opener->currentLink().toString(QUrl::FullyEncoded).toStdString());
        });
        QObject::connect(tracker.get(), &PlayTracker::changed, &window, &MainFrm::libraryChanged);
    }
    void TearDown() override {
        tracker.reset();
        opener.reset();
    }

    // Waits until the page has done what it was asked (its reads and zips).
    static bool settled(LibraryPage& page) {
        return waitUntil([&] { return !page.busy(); }, 30000);
    }
    // The app of address as the library holds it now, read through a connection of its own.
    std::optional<library::PlayedApp> stored(const std::string& address) {
        const auto library = library::PlayLibrary::open(session.folder().path());
        return library ? library->find(address) : std::nullopt;
    }

    std::string link(int id) { return session.store().site() + "/appweb/app?id=" + std::to_string(id); }
    // Where the counter, the store's movie blocks.swf, is kept.
    viewer::MoviePlace counterPlace() {
        return viewer::MoviePlace::of(session.store().site() + "/widget/swf/" + CounterMovie).value();
    }
    fs::path counterSave() {
        return session.folder().path() / "Saves" / counterPlace().savesName() / "plays.sol";
    }
    // The counter's saved value name ("count", or "read": the count it found when it started).
    std::string saved(const std::string& name) {
        const auto file = viewer::SolFile::read(counterSave());
        const auto value = file ? file->value(name) : nullptr;
        return value ? value->toText() : std::string();
    }
    // Waits until the counter, opened anew, saved count after it read read.
    bool counted(int count, int read) {
        return waitUntil(
            [&] { return saved("count") == std::to_string(count) && saved("read") == std::to_string(read); },
            30000);
    }
    // Opens the app of link as a click in a catalogue page does and waits for its viewer.
    FlashPayFrm* open(const std::string& address) {
        FlashPayFrm* shown = nullptr;
        const auto watch =
            QObject::connect(opener.get(), &AppOpener::opened, [&](FlashPayFrm* viewer) { shown = viewer; });
        emit session.window().appLinkClicked(QUrl(QString::fromStdString(address)));
        waitUntil([&] { return shown != nullptr; }, 20000);
        QObject::disconnect(watch);
        return shown;
    }
    // Closes the viewer and waits until it is deleted, once its movie has stopped and saved, as the
    // program's event loop would delete it; a loop run by the test does not do that for a deletion
    // asked for outside it.
    void closeViewer() {
        QPointer<FlashPayFrm> viewer = opener->viewer();
        opener->closeViewer();
        ASSERT_TRUE(waitUntil(
            [&] {
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                return viewer.isNull();
            },
            30000));
    }

    TempDir counters;
    CatalogueSession session{{"--movies", countersFolder(counters).string()}};
    PlayerGroup players;
    std::unique_ptr<AppOpener> opener;
    std::unique_ptr<PlayTracker> tracker;
};

} // namespace

TEST_F(LibraryTest, SavesAreBackedUpDeletedAndRestoredThroughThePage) {
    ASSERT_TRUE(open(link(1)));
    ASSERT_TRUE(counted(1, 0));
    ASSERT_TRUE(open(link(1))); // replaces the viewer
    ASSERT_TRUE(counted(2, 1));

    MainFrm& window = session.window();
    window.ShowLibrary();
    LibraryPage& page = *window.libraryPage();
    ASSERT_TRUE(page.isVisible());
    ASSERT_TRUE(settled(page));
    ASSERT_TRUE(page.choose(link(1)));
    const auto* row = page.model()->rowAt(page.list()->currentIndex().row());
    EXPECT_EQ(row->app.plays, 2);
    EXPECT_TRUE(row->app.isMovie);
    EXPECT_EQ(row->app.movieFile, counterPlace().movieFile().string());
    EXPECT_GT(row->savesBytes, 0u);
    const std::string name = row->app.name;

    // Filtered by a part of its Chinese name; starred with a click on its star, and then shown alone.
    page.filter()->setText(QString::fromStdString(name).mid(1, 2));
    EXPECT_EQ(page.model()->rowCount(), 1);
    page.filter()->setText(QStringLiteral("象棋"));
    EXPECT_EQ(page.model()->rowCount(), 0);
    page.filter()->clear();
    ASSERT_TRUE(page.choose(link(1)));
    page.toggleFavouriteChosen();
    ASSERT_TRUE(settled(page));
    EXPECT_TRUE(stored(link(1))->favourite);

    TempDir outside;
    const fs::path zip = outside.path() / "backup.zip";
    QStringList told;
    QString suggested;
    int questions = 0;
    LibraryDialogs dialogs;
    dialogs.saveZip = [&](const QString& name) {
        suggested = name;
        return QString::fromStdString(zip.string());
    };
    dialogs.openZip = [&](const QString&) { return QString::fromStdString(zip.string()); };
    dialogs.confirm = [&](const QString&) { return ++questions, true; };
    dialogs.confirmWithOption = [&](const QString&, const QString&) { return std::optional<bool>(false); };
    dialogs.tell = [&](const QString& message) { told << message; };
    page.setDialogs(dialogs);

    page.backUpChosen();
    ASSERT_TRUE(settled(page));
    ASSERT_TRUE(fs::is_regular_file(zip)) << told.join(" ").toStdString();
    EXPECT_TRUE(fs::path(suggested.toStdString()).filename().string().starts_with(name + "-存档-"));

    // While the game plays, its saves are neither restored nor deleted.
    const std::string before = saved("count");
    page.restoreChosen();
    page.deleteSavesChosen();
    EXPECT_EQ(saved("count"), before);
    EXPECT_EQ(questions, 0);
    EXPECT_EQ(told.size(), 3);

    closeViewer();
    page.deleteSavesChosen();
    ASSERT_TRUE(settled(page));
    EXPECT_EQ(questions, 1);
    EXPECT_FALSE(fs::exists(counterSave()));
    page.playChosen(); // afresh
    ASSERT_TRUE(counted(1, 0));

    closeViewer();
    page.restoreChosen(); // over the new save: asks first
    ASSERT_TRUE(settled(page));
    EXPECT_EQ(questions, 2);
    EXPECT_EQ(saved("count"), "2");
    page.playChosen(); // goes on from the backup
    ASSERT_TRUE(counted(3, 2));
    EXPECT_TRUE(waitUntil([&] { return stored(link(1)).value_or(library::PlayedApp{}).plays == 4; }));

    // A click on an area's tab leaves the page.
    session.clickMainTab(1);
    EXPECT_FALSE(window.libraryShown());
    EXPECT_FALSE(page.isVisible());
}

// The work of a restore and a library written to by another connection never hold up the window: a
// click given to the event loop while the work goes on is handled before it ends.
TEST_F(LibraryTest, TheWindowAnswersClicksDuringARestoreAndWhileAnotherConnectionWritesTheLibrary) {
    ASSERT_TRUE(open(link(1)));
    ASSERT_TRUE(counted(1, 0));
    closeViewer();
    // Many saves, so that the zip takes a while to check and unpack.
    const fs::path saves = counterSave().parent_path();
    for (int i = 0; i < 3000; ++i)
        fs::copy_file(counterSave(), saves / ("copy" + std::to_string(i) + ".sol"));

    MainFrm& window = session.window();
    LibraryPage* page = nullptr;
    const auto showPage = [&] {
        window.ShowLibrary();
        page = window.libraryPage();
        ASSERT_TRUE(settled(*page));
        ASSERT_TRUE(page->choose(link(1)));
    };
    // Clicks the first area's tab from the event loop; whether the page was still at work then.
    const auto clickDuringWork = [&] {
        auto busy = std::make_shared<std::optional<bool>>();
        QTimer::singleShot(0, &window, [this, busy, page] {
            session.clickMainTab(1);
            *busy = page->busy();
        });
        return busy;
    };
    showPage();

    TempDir outside;
    const fs::path zip = outside.path() / "backup.zip";
    QStringList told;
    LibraryDialogs dialogs;
    dialogs.saveZip = [&](const QString&) { return QString::fromStdString(zip.string()); };
    dialogs.openZip = [&](const QString&) { return QString::fromStdString(zip.string()); };
    dialogs.confirm = [&](const QString&) { return true; };
    dialogs.tell = [&](const QString& message) { told << message; };
    page->setDialogs(dialogs);
    page->backUpChosen();
    ASSERT_TRUE(settled(*page));
    ASSERT_TRUE(fs::is_regular_file(zip)) << told.join(" ").toStdString();

    page->restoreChosen();
    auto clicked = clickDuringWork();
    ASSERT_TRUE(settled(*page));
    ASSERT_TRUE(clicked->has_value()) << "the click was not handled before the restore ended";
    EXPECT_TRUE(**clicked) << "the click waited for the restore";
    EXPECT_FALSE(window.libraryShown());
    EXPECT_TRUE(told.last().startsWith(QStringLiteral("已恢复“"))) << told.last().toStdString();

    // Written to by another connection: a star waits on the library's thread, not in the window,
    // and when it cannot be written the player is told where the star was clicked.
    auto held = std::make_unique<HeldLibrary>(session.folder().path() / library::PlayLibrary::FileName,
                                              HeldLibrary::Hold::Writes);
    ASSERT_TRUE(held->held());
    showPage();
    page->toggleFavouriteChosen();
    clicked = clickDuringWork();
    ASSERT_TRUE(settled(*page));
    ASSERT_TRUE(clicked->has_value());
    EXPECT_TRUE(**clicked) << "the click waited for the held library";
    EXPECT_TRUE(told.last().startsWith(QStringLiteral("没能收藏"))) << told.last().toStdString();
    held.reset();
    showPage();
    page->toggleFavouriteChosen();
    ASSERT_TRUE(settled(*page));
    EXPECT_TRUE(stored(link(1))->favourite);
}
