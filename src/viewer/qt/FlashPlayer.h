#pragma once
// The Flash player control of the viewer: Ruffle in a web view of its own, on a private profile
// whose only scheme is the player's (player files and downloaded movies). The page opens no windows
// and shows no context menu; nothing it or a movie asks for leaves that scheme.
//
// A movie from the store plays at its address on that scheme, brindle://app/Game/<site>/<name>?<query>
// (see MoviePlace), so it knows where it is: its shared objects, its loads relative to itself and
// by absolute address into its store folder, loaderInfo.url and the parameters of the query all
// work. The shared objects it flushes are kept as .sol files in Saves/<site>~<name>/ (see
// FlashSaves), written as soon as the movie flushes and handed back before it next starts. A movie
// played from Game without a store address plays at brindle://app/Game/<name> and saves in
// Saves/<name>/. What a movie keeps is bounded (SaveQuota): a flush that would go over fails in the
// movie, as under Flash Player, and the files keep what they held.
//
// A movie ends as under Flash Player: its shared objects are written when it stops, also those it
// never flushed. A movie starts only after every movie of its PlayerGroup that was stopping has
// stopped and its saves are on disk, so it always reads the newest saves, and nothing a stopped
// movie reports later is written. Its saves are read on a worker thread, meanwhile the window goes
// on; the movie starts once they are read and the player page is ready. A save that cannot be
// written is said (savesNotWritten), and the movie plays on.
//
// The movie playing talks to its page as in Flash Player: ExternalInterface is there and every
// call gets null, no script of the page runs; its fscommand "quit" and "fullscreen" become
// quitRequested and fullScreenRequested; an http(s) address it opens in a new window after a
// click or key press, one per press, goes to the URL opener (the user's web browser), also one
// relative to a movie from the store, taken relative to its store address. A local movie's relative
// links name files, which open nowhere.

#include "viewer/FlashSaves.h"
#include "viewer/MoviePlace.h"
#include "viewer/PlayerFiles.h"
#include "viewer/SaveQuota.h"

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWebEngineView>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class PlayerGroup;
class PlayerPage;
class PlayerSchemeHandler;
class QWebEngineProfile;

class FlashPlayer : public QWebEngineView {
    Q_OBJECT
  public:
    // Plays from files, one of group's players; the group must outlive it.
    FlashPlayer(PlayerGroup& group, viewer::PlayerFiles files, QWidget* parent = nullptr);
    // A movie still playing loses what it has not flushed: stop it first.
    ~FlashPlayer() override;

    // How long a stopping movie may take to report its last saves: a movie with a megabyte of them
    // takes about a second, and a machine under heavy load took up to 13 s for a small one. A page
    // that does not answer in time (stuck beyond the 15 s that Ruffle lets a movie's script run)
    // loses what its movie has not flushed, as in a crash, with a line on standard error.
    static constexpr std::chrono::milliseconds StopDeadline{20000};

    // Starts the movie at path, a file in the Game folder, from its first frame; again when it is
    // the movie already playing. Any other path stops the player. storeAddress, the address the
    // movie was downloaded from, gives its address and its site folder, where the files it loads
    // are kept and fetched into; without it the movie must lie in Game itself, and only the files
    // beside it there are served. A local movie's file:// address (see MoviePlace) plays the file
    // at path when it is that address's file, with the files of its folder. The movie playing
    // stops first (see stopMovie).
    void setMovie(const QString& path, const QString& storeAddress = {});
    // Ends the movie playing, or drops the one waiting to start. Ruffle then saves its shared
    // objects; movieStopped follows once they are handed to the writer, at once when nothing plays.
    void stopMovie();
    // A movie's stop is under way.
    bool isStopping() const { return stopping_ != 0; }
    QString movie() const { return movie_; }
    // How many movies this player has started, each on a Ruffle player of its own.
    int moviesStarted() const { return started_; }
    // True once Ruffle has read the current movie's header and started it.
    bool isMovieLoaded() const { return loaded_; }
    // Where the movie's links go; the user's web browser unless set.
    using UrlOpener = std::function<void(const QUrl&)>;
    void setUrlOpener(UrlOpener opener) { urlOpener_ = std::move(opener); }

  signals:
    void movieLoaded();
    // The current movie's first frame is on the screen (the page shows the page's colour before).
    void movieDrawn();
    // The current movie cannot run: a broken file, a feature or failure of the player, or the
    // page's process ended.
    void movieFailed(const QString& reason);
    // The movie that stopMovie (or a new start) ended has stopped, and its saves are being written:
    // any movie that starts later reads them once they are on disk.
    void movieStopped();
    // A save of the current movie was refused, as it would have taken the movie over what it may
    // keep; once for each start.
    void savesRefused();
    // A save of the current movie could not be written to disk (a full disk, a folder that cannot
    // be written); once for each start.
    void savesNotWritten();
    // The movie playing asked to close its viewer, or to enter (on) or leave full screen.
    void quitRequested();
    void fullScreenRequested(bool on);

  private:
    // The saves of one start of a movie: where they go, and what they take so far.
    struct MovieSaves {
        viewer::FlashSaves files;
        viewer::SaveQuota quota;
        bool refusalSaid = false;
        bool failureSaid = false;
    };
    // The saves read for the start numbered token, and whether its movie starts unscaled (see
    // UnscaledMovie), read with them.
    struct ReadSaves {
        int token;
        viewer::FlashSaves files;
        std::vector<viewer::FlashSaves::Save> saves;
        bool unscaled = false;
    };

    void startPending();
    // Reads the saves of the movie waiting, at its address, and its timeline's scaling on a worker
    // thread; startPending goes on once they are read.
    void readSaves(const QUrl& url, const std::string& savesName);
    // Drops saves read or being read for a movie that waits: a stop meanwhile may change them.
    void forgetReadSaves();
    void play(const QUrl& url, ReadSaves read);
    void beginStop();
    void finishStop();
    // The movie's address on the player's scheme and its folder name in Saves.
    std::optional<std::pair<QUrl, std::string>> movieAddress() const;
    // The address a link the movie opened names: a link on the player's scheme mapped back to the
    // movie's store address (see MoviePlace::linkAddressOf), an empty one where it has none.
    QUrl webAddressOf(const QUrl& link) const;
    void keepSave(int token, const QString& key, const QByteArray& bytes, bool removed);
    void refuseSave(int token);
    void sayFailedSave(const std::filesystem::path& file);

    QPointer<PlayerGroup> group_;
    viewer::PlayerFiles files_;
    std::unique_ptr<QObject> links_ = std::make_unique<QObject>(); // receives the page's reports
    QWebEngineProfile* profile_;
    PlayerSchemeHandler* handler_;
    PlayerPage* page_;
    QString movie_;
    std::optional<viewer::MoviePlace> place_; // where a movie from the store keeps its files
    bool pageReady_ = false;
    bool loaded_ = false;
    bool pending_ = false; // a movie waits for the player page
    int token_ = 0;        // numbers each start, so a late report of an earlier start is ignored
    int playing_ = 0;      // the token of the movie started in the page, 0 when none
    int stopping_ = 0;     // the token of the movie being stopped, 0 when none
    int reading_ = 0;      // the token of the start whose saves are being read, 0 when none
    int started_ = 0;      // movies started in the page
    std::optional<ReadSaves> read_;
    QTimer stopDeadline_;
    UrlOpener urlOpener_;
    // The saves of the movie playing and of the one stopping; reports of any other are dropped.
    std::map<int, MovieSaves> saves_;
};
