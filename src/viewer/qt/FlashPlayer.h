#pragma once
// The Flash player control of the viewer: Ruffle in a web view of its own, on a private profile
// whose only scheme is the player's (player files and downloaded movies). The page opens no windows
// and shows no context menu; nothing it or a movie asks for leaves that scheme.

#include "viewer/PlayerFiles.h"

#include <QString>
#include <QWebEngineView>

class PlayerPage;
class QWebEngineProfile;

class FlashPlayer : public QWebEngineView {
    Q_OBJECT
  public:
    // Plays from the application folder's player/ and Game/.
    explicit FlashPlayer(QWidget* parent = nullptr);
    explicit FlashPlayer(viewer::PlayerFiles files, QWidget* parent = nullptr);
    ~FlashPlayer() override;

    // Starts the movie at path, a file in the Game folder, from its first frame; again when it is
    // the movie already playing. Any other path stops the player.
    void setMovie(const QString& path);
    QString movie() const { return movie_; }
    // True once Ruffle has read the current movie's header and started it.
    bool isMovieLoaded() const { return loaded_; }

  signals:
    void movieLoaded();
    void movieFailed(const QString& reason);

  private:
    void startPending();

    viewer::PlayerFiles files_;
    QWebEngineProfile* profile_;
    PlayerPage* page_;
    QString movie_;
    bool pageReady_ = false;
    bool loaded_ = false;
    bool pending_ = false; // a movie waits for the player page
    int token_ = 0;        // numbers each start, so a late report of an earlier start is ignored
};
