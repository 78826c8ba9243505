#pragma once
// The Flash player control of the viewer: Ruffle in a web view of its own, on a private profile
// whose only scheme is the player's (player files and downloaded movies). The page opens no windows
// and shows no context menu; nothing it or a movie asks for leaves that scheme.
//
// A movie plays at its address on that scheme, brindle://app/Game/<name>?<query>, so it knows where
// it is: its shared objects, its loads relative to itself, loaderInfo.url and the parameters of the
// query all work. The shared objects it flushes are kept as .sol files in Saves/<name>/ (see
// FlashSaves), written as soon as the movie flushes and handed back before it next starts.

#include "viewer/FlashSaves.h"
#include "viewer/PlayerFiles.h"

#include <QString>
#include <QWebEngineView>
#include <map>
#include <memory>

class PlayerPage;
class PlayerSchemeHandler;
class QWebEngineProfile;

class FlashPlayer : public QWebEngineView {
    Q_OBJECT
  public:
    // Plays from the application folder's player/ and Game/ and keeps saves in its Saves/.
    explicit FlashPlayer(QWidget* parent = nullptr);
    explicit FlashPlayer(viewer::PlayerFiles files, QWidget* parent = nullptr);
    ~FlashPlayer() override;

    // Starts the movie at path, a file in the Game folder, from its first frame; again when it is
    // the movie already playing. Any other path stops the player. storeAddress, the address the
    // movie was downloaded from, is where files the movie loads beside itself are fetched from
    // when they are not in Game yet; without it only Game's files are there.
    void setMovie(const QString& path, const QString& storeAddress = {});
    QString movie() const { return movie_; }
    // True once Ruffle has read the current movie's header and started it.
    bool isMovieLoaded() const { return loaded_; }

  signals:
    void movieLoaded();
    // The current movie's first frame is on the screen (the page shows the page's colour before).
    void movieDrawn();
    // The current movie cannot run: a broken file, a feature or failure of the player, or the
    // page's process ended.
    void movieFailed(const QString& reason);

  private:
    void startPending();
    void keepSave(int token, const QString& key, const QByteArray& bytes, bool removed);

    viewer::PlayerFiles files_;
    std::unique_ptr<QObject> links_ = std::make_unique<QObject>(); // receives the page's reports
    QWebEngineProfile* profile_;
    PlayerSchemeHandler* handler_;
    PlayerPage* page_;
    QString movie_;
    QString storeAddress_;
    bool pageReady_ = false;
    bool loaded_ = false;
    bool pending_ = false; // a movie waits for the player page
    int token_ = 0;        // numbers each start, so a late report of an earlier start is ignored
    // The saves of the current start and the one before, whose player may still save as it goes.
    std::map<int, viewer::FlashSaves> saves_;
};
