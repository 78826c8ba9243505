#pragma once
// Keeps one Flash player ready for the movie viewers, so that a click on a movie shows its first
// frame soon, not after Ruffle has started afresh in a new page (its code fetched and compiled, well
// over a second). The player is made when a movie is likely (prepare(), see PlayerReadiness),
// hidden; it loads its page and starts Ruffle once on an empty movie of its own, and goes again
// (release()) when no movie has been near for a while, as it holds as much memory as the catalogue.
// A viewer takes it and gives it back when it goes away, its movie stopped, so the next viewer
// plays on the same page: there is one player page in the process, whether a movie plays or not.

#include "viewer/PlayerFiles.h"

#include <QObject>
#include <QPointer>

class FlashPlayer;
class PlayerGroup;
class QWidget;

class ReadyPlayer : public QObject {
    Q_OBJECT
  public:
    // Players play from files, in group.
    ReadyPlayer(PlayerGroup& group, viewer::PlayerFiles files, QObject* parent = nullptr);
    // Deletes the kept player; one still lent is its viewer's to delete.
    ~ReadyPlayer() override;

    // Makes the player once the events pending now have run, unless one is kept or lent.
    void prepare();
    // Whether take() hands over a player that exists already, or none exists anywhere (so taking
    // makes no second player page while a viewer still holds the first).
    bool canTake() const;
    // The kept player, or a new one, as a hidden child of parent; it is lent until given back.
    FlashPlayer* take(QWidget* parent);
    // Takes back a player that take() lent: stops its movie and keeps it, hidden, for the next
    // take(). It stays in its window until that window goes (keepOutOf) or take() moves it: moved
    // twice at once, away and into the next window, a web view shows nothing. A player kept
    // already is dropped then.
    void giveBack(FlashPlayer* player);
    // Moves the kept player out of window, which is going away.
    void keepOutOf(QWidget* window);
    // Deletes the kept player; one whose movie is still stopping goes once its saves are handed
    // over, unless prepare() or take() wants it again before.
    void release();

    // The player kept for the next take(), null when none is.
    FlashPlayer* kept() const;
    // Whether the kept player has started Ruffle once.
    bool isWarm() const;

  signals:
    // The kept player has started Ruffle once: a movie now starts without waiting for Ruffle.
    void warm();
    // A viewer gave its player back: a movie has just ended.
    void returned();

  private:
    FlashPlayer* make(QWidget* parent);
    // Starts Ruffle in player's page on an empty movie, unless it has started there already.
    void warmUp(FlashPlayer* player);

    PlayerGroup& group_;
    viewer::PlayerFiles files_;
    QPointer<FlashPlayer> kept_;
    QPointer<FlashPlayer> lent_;
    QPointer<FlashPlayer> warm_; // the player whose page has started Ruffle
    bool preparing_ = false;
    bool releasing_ = false; // the kept player goes once its movie has stopped
};
