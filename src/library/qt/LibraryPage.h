#pragma once
// The 我的游戏 page of the catalogue window: every app the player opened, from the play library,
// with its icon, name, last play, plays, play time and the sizes of its movie and saves; sorted by
// last play, play time or name; filtered by name as the player types; starred apps alone on
// request; and the disk space of Game/ and Saves/. It is built from local files only, so it shows
// without the store.
//
// A click on a row's start cell (or a double click, or Enter) asks to open the app as a click in
// the store does; a click on its star stars or unstars it. For the chosen row: back up, restore and
// delete a movie app's saves, and remove a game (its movie from Game/ and its row; its saves only
// when the player also asks). Backing up and restoring all saves work on the whole of Saves/.
// 打开本地游戏… asks for movie files of the player's own to play; they are listed with their path
// once played, and play again from the page as long as they are where they were.
//
// A restore, a deletion of saves and a removal are refused while the movie's viewer is open: the
// player there would keep writing the saves it read. A restore checks the zip first, then, over
// saves that exist, asks, as it replaces them and the progress in them is lost for good.
//
// The page never waits on the disk: the library is read, and games and saves deleted, on the
// library's thread; zips are written and read on worker threads, while the page says what it is
// doing and its buttons wait. A library that cannot be read now is said, with a button to try
// again, never shown as an empty list. While the page is in view, a counted play updates the rows
// in their places; the list is sorted anew when the page is shown again.

#include "library/GameFiles.h"
#include "library/SaveArchive.h"
#include "library/qt/LibraryDialogs.h"
#include "library/qt/LibraryService.h"
#include "library/qt/PlayedAppsModel.h"
#include "viewer/qt/WorkerThreads.h"

#include <QColor>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QStackedWidget;
class QTreeView;

class LibraryPage : public QWidget {
    Q_OBJECT
  public:
    // library must outlive the page; pageColour is the colour of the catalogue's pages.
    LibraryPage(std::filesystem::path appFolder, LibraryService& library, const QColor& pageColour,
                QWidget* parent = nullptr);

    // Reads the library and the folders anew (done later, see refreshed); the chosen app stays
    // chosen. Keep leaves the rows shown in their places.
    void refresh(PlayedAppsModel::Places places = PlayedAppsModel::Places::Sort);
    // A read or a zip's work is under way.
    bool busy() const { return reads_ > shownRead_ || jobs_ > 0 || zips_.running() > 0; }
    // Whether the last read found the library unreadable (the page says so).
    bool unreadable() const;

    void setDialogs(LibraryDialogs dialogs) { dialogs_ = std::move(dialogs); }
    // Whether the saves of a movie folder are in use (its viewer is open); by default the open
    // viewers of this program are asked.
    void setSavesInUse(std::function<bool(const std::string& movie)> inUse) { inUse_ = std::move(inUse); }

    PlayedAppsModel* model() const { return model_; }
    QTreeView* list() const { return list_; }
    QLineEdit* filter() const { return filter_; }
    // Chooses the app of link in the list; false when it is not shown.
    bool choose(const std::string& link);

    // The chosen app's actions, as their buttons do.
    void playChosen();
    void toggleFavouriteChosen();
    void backUpChosen();
    void restoreChosen();
    void deleteSavesChosen();
    void removeChosen();
    void backUpAll();
    void restoreAll();
    void openLocalGames();

  signals:
    // The player asked to open the app of link (a local game's: its file:// address).
    void playRequested(const QString& link);
    // The player chose movie files of their own to play (absolute paths).
    void filesChosen(const QStringList& files);
    // A refresh's rows (or the note that they cannot be read) are shown.
    void refreshed();

  private:
    // What a read of the library and the folders found.
    struct Snapshot {
        std::optional<std::vector<PlayedAppsModel::Row>> rows; // nothing: the library is unreadable
        std::optional<library::GameFiles::Usage> usage;        // nothing: the read failed before it
    };
    void showSnapshot(Snapshot snapshot, const LibraryService::Problem& problem,
                      PlayedAppsModel::Places places);
    // Says what the page is doing while a zip is written or read; empty when done.
    void setWorking(const QString& what);
    // The game names of the listed movies, by their folder name in Saves/.
    std::map<std::string, std::string> gameNames() const;
    void backUp(const QString& zip, std::vector<std::string> movies);
    // Checks the zip, then asks and restores (of one movie, or of all in the zip).
    void restore(const QString& zip, std::optional<std::string> onlyMovie);
    void restoreChecked(const QString& zip, const library::SaveArchive::Result& check, bool savesExist,
                        library::SaveArchive::RestoreOptions options);
    void buildControls();
    void styleControls(const QColor& pageColour);
    void updateButtons();
    const PlayedAppsModel::Row* chosenRow() const;
    // Runs change (of the model's rows), then chooses the same app again, or the first one.
    void keepChoice(const std::function<void()>& change);
    void cellClicked(const QModelIndex& index);
    QString zipFolder() const;
    void rememberZipFolder(const QString& zipFile);
    // The chosen app's saves folder name in Saves/; empty for a page app.
    std::string chosenMovie() const;
    // Tells why and returns true when the chosen movie's viewer is open.
    bool refusedInUse(const std::string& movie, const QString& name);

    std::filesystem::path appFolder_;
    LibraryService& library_;
    LibraryDialogs dialogs_;
    std::function<bool(const std::string& movie)> inUse_;
    QString lastZipFolder_;
    QString lastMovieFolder_;

    PlayedAppsModel* model_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QComboBox* order_ = nullptr;
    QCheckBox* favouritesOnly_ = nullptr;
    QLabel* usage_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    QTreeView* list_ = nullptr;
    QLabel* empty_ = nullptr;
    QWidget* unreadable_ = nullptr;
    QLabel* unreadableText_ = nullptr;
    QLabel* working_ = nullptr;
    QPushButton* play_ = nullptr;
    QPushButton* favourite_ = nullptr;
    QPushButton* backUp_ = nullptr;
    QPushButton* restore_ = nullptr;
    QPushButton* deleteSaves_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* backUpAll_ = nullptr;
    QPushButton* restoreAll_ = nullptr;
    QPushButton* openFiles_ = nullptr;
    int reads_ = 0;      // refreshes asked for
    int shownRead_ = 0;  // the last one shown
    int jobs_ = 0;       // changes of the library under way
    WorkerThreads zips_; // last, so the zips' work ends first
};
