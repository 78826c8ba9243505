#pragma once
// Opens the app behind a clicked app link: reads its entry address and details from the store on a
// worker thread, so the catalogue window keeps painting, then replaces an open viewer with a new
// one. Only the latest click counts: a click while an earlier app is still being read opens only
// the later app.
//
// A movie app's details are kept when it opens (KeptApps), so that it opens from them and plays
// from Game while the store cannot be reached. Any other app that cannot be read opens no viewer:
// a note says why instead, within a few seconds also when the store accepts and never answers.
//
// Movie viewers play on the one player that ReadyPlayer keeps: a replaced viewer gives it back
// before the next viewer takes it, so a movie starts on a page where Ruffle runs already. While
// that player waits for a click, the next viewer's window waits with it, built (hidden).
//
// A movie file of the player's own (LocalMovie) opens in a viewer of its own beside the store's,
// with a player of its own, so that several files play side by side; each file in one viewer at a
// time, as two players of one file would write over each other's saves.

#include "base/Folders.h"
#include "startup/Settings.h"
#include "viewer/KeptApps.h"
#include "viewer/OpenedApp.h"
#include "viewer/qt/FlashPayFrm.h"
#include "viewer/qt/ReadyPlayer.h"
#include "viewer/qt/WorkerThreads.h"

#include <QObject>
#include <QPointer>
#include <QUrl>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class PlayerGroup;
class WebProfiles;

class AppOpener : public QObject {
    Q_OBJECT
  public:
    static const QString UnreachableNote; // "无法连接应用商店，请稍后再试。"
    static const QString NotAnAppNote;    // the store answered, but not with an app

    // How long the store may take for the pages of one app before the note shows instead.
    static constexpr std::chrono::milliseconds ReadDeadline{4000};

    // The viewers' views run on web's profiles, their players in group; both must outlive this
    // object.
    AppOpener(base::Folders folders, Settings settings, std::string storeSite, WebProfiles& web,
              PlayerGroup& group, QObject* parent = nullptr);
    // Closes the viewer.
    ~AppOpener() override;

    // Starts opening the app that link leads to.
    void open(const QUrl& link);
    // Starts opening the movie file at path (absolute): it is checked on a worker thread, then shown
    // in a new viewer, or the viewer that shows it already comes to the front. A file that is
    // missing, cannot be read or is no movie gives notOpened with why.
    void openFile(const std::filesystem::path& path);
    // Closes the open viewers, if any, and drops an app still being read.
    void closeViewer();
    // Makes the player for the next movie viewer now, so that the next movie starts at once.
    void prepareReadyPlayer() { players_.prepare(); }
    ReadyPlayer& readyPlayer() { return players_; }
    const ReadyPlayer& readyPlayer() const { return players_; }
    // Whether link leads to a movie app opened before, whose details are kept.
    bool isKeptMovieApp(const QUrl& link) const;
    // Runs then once no viewer this opener made is left and no retired player is stopping: every
    // movie they played has stopped and handed over its saves (see FlashPlayer::movieStopped).
    // Never at once: from the event loop.
    void whenViewersClosed(std::function<void()> then);

    // The open viewer, null when none is open.
    FlashPayFrm* viewer() const { return viewer_; }
    // The app opened last, and the link it was opened by.
    const viewer::OpenedApp& current() const { return current_; }
    const QUrl& currentLink() const { return currentLink_; }
    // Whether the pages of a click are still being read, also of a click that will not be shown.
    bool reading() const { return readers_.running() > 0; }

  signals:
    // A new viewer shows the app read for the link; emitted after it was shown.
    void opened(FlashPayFrm* viewer);
    // The app of the latest click cannot be shown; note says why. No viewer opened or closed.
    void notOpened(const QString& note);

  private:
    // Shows the app read for the latest click, or the note when it cannot be shown.
    void finish(const viewer::OpenedApp& app);
    void show(const viewer::OpenedApp& app);
    // Builds the movie player or the browsers in the window being prepared for the click.
    void prepareView(int click, bool isWidgetApp, const std::string& link);
    // Builds the window for the next click, unless it is there; shows an app read meanwhile.
    void buildNext();
    // Builds that window ahead of a click, soon.
    void buildAhead();
    // A viewer whose movies play on players; without it, on a player of its own.
    FlashPayFrm* newViewer(ReadyPlayer* players);
    void viewerGone();
    // Runs what waits for the viewers once they are closed.
    void runWhenClosed();
    // The window built for the next click has played nothing.
    bool viewersClosed() const { return viewers_ == (next_ ? 1 : 0) && !players_.retiring(); }
    void showFile(const viewer::OpenedApp& app);

    base::Folders folders_;
    Settings settings_;
    std::string storeSite_;
    WebProfiles& web_;
    PlayerGroup& group_;
    viewer::KeptApps kept_;
    ReadyPlayer players_;
    viewer::OpenedApp current_;
    QUrl currentLink_;
    QUrl latestLink_; // of the latest click, the only one that is shown
    QPointer<FlashPayFrm> viewer_;
    QPointer<FlashPayFrm> next_; // the window prepared for the next click, or for the app being read
    std::vector<QPointer<FlashPayFrm>> fileViewers_;         // the viewers of local movie files
    bool building_ = false;                                  // next_ is being constructed
    std::optional<std::pair<int, viewer::OpenedApp>> ready_; // a click's app read while next_ was being built
    int latest_ = 0;  // numbers the clicks; a read that finishes after a later click is dropped
    int viewers_ = 0; // viewers made and not yet gone
    std::vector<std::function<void()>> whenClosed_;
    WorkerThreads readers_; // the reads of clicked apps; last, so they end first
};
