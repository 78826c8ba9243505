#pragma once
// Makes the ready player when a movie is likely and gives it back when none has been for a while
// (PlayerDemand decides): the catalogue reports the pages it shows and the links and tabs the
// pointer is on. Resting on a link counts only for a movie app the viewer has kept (one opened
// before); any app of a game category, the search results or the played games shows a page that
// counts already.

#include "viewer/PlayerDemand.h"

#include <QObject>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <functional>

class ReadyPlayer;

class PlayerReadiness : public QObject {
    Q_OBJECT
  public:
    // Whether an app link leads to a movie app.
    using MovieLink = std::function<bool(const QUrl& link)>;

    // players must outlive this object.
    PlayerReadiness(ReadyPlayer& players, MovieLink isMovieLink,
                    std::chrono::milliseconds idle = viewer::PlayerDemand::DefaultIdle,
                    QObject* parent = nullptr);

    // The catalogue shows a page that lists movie apps (inView), or another one.
    void moviePageShown(bool inView);
    // The pointer is on the app link link, or on none (an empty link).
    void linkHovered(const QUrl& link);
    // The pointer is on the tab of the game area (on), or left it.
    void movieTabPointed(bool on);

  private:
    void movieNear();
    // Makes or releases the player as the demand says now, and waits for the next change.
    void follow();

    ReadyPlayer& players_;
    MovieLink isMovieLink_;
    viewer::PlayerDemand demand_;
    QTimer idleEnd_;
    QTimer pointerRest_; // the pointer rests on a movie app's link or the game area's tab
};
