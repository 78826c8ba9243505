#pragma once
// Keeps one Flash player ready for the movie viewers, so that a click on a movie shows its first
// frame soon, not after Ruffle has started afresh in a new page (its code fetched and compiled, well
// over a second). The player is made when a movie is likely (prepare(), see PlayerReadiness),
// hidden; it loads its page and starts Ruffle once on an empty movie of its own, and goes again
// (release()) when no movie has been near for a while, as it holds as much memory as the catalogue.
// A viewer takes it and gives it back when it goes away, its movie stopped, so the next viewer
// plays on the same page: there is one player page in the process, whether a movie plays or not.
//
// A page never gives back the memory of the Ruffle players it ran (each holds a WebAssembly memory
// that only grows), so a page that has started RetireAfter movies is not reused: given back, it
// goes once its movie has stopped and handed over its saves, and the next take() gets a new page
// (made at once, or warmed meanwhile when a movie is still near, see PlayerReadiness).

#include "viewer/PlayerFiles.h"

#include <QObject>
#include <QPointer>
#include <vector>

class FlashPlayer;
class PlayerGroup;
class QWidget;

class ReadyPlayer : public QObject {
    Q_OBJECT
  public:
    // How many movies a player page starts before it is retired.
    static constexpr int RetireAfter = 20;

    // Players play from files, in group.
    ReadyPlayer(PlayerGroup& group, viewer::PlayerFiles files, QObject* parent = nullptr);
    // Deletes the kept player and those retiring; one still lent is its viewer's to delete.
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
    // already is dropped then. A player that has started retireAfter() movies is retired instead.
    void giveBack(FlashPlayer* player);
    // Moves the kept player, and any retiring one, out of window, which is going away.
    void keepOutOf(QWidget* window);
    // Deletes the kept player; one whose movie is still stopping goes once its saves are handed
    // over, unless prepare() or take() wants it again before.
    void release();

    // The player kept for the next take(), null when none is.
    FlashPlayer* kept() const;
    // Whether the kept player has started Ruffle once.
    bool isWarm() const;

    int retireAfter() const { return retireAfter_; }
    void setRetireAfter(int movies) { retireAfter_ = movies; }
    // Whether a retired player's movie is still stopping: its saves are not all handed over yet.
    bool retiring() const;

  signals:
    // The kept player has started Ruffle once: a movie now starts without waiting for Ruffle.
    void warm();
    // A viewer gave its player back: a movie has just ended.
    void returned();
    // A retired player's movie has stopped and the player goes.
    void retired();
    // No movie is near any more: release() was called.
    void released();

  private:
    FlashPlayer* make(QWidget* parent);
    // Starts Ruffle in player's page on an empty movie, unless it has started there already.
    void warmUp(FlashPlayer* player);
    // Deletes player, which is given back and stopping its movie, once the movie has stopped.
    void retire(FlashPlayer* player);

    PlayerGroup& group_;
    viewer::PlayerFiles files_;
    QPointer<FlashPlayer> kept_;
    QPointer<FlashPlayer> lent_;
    QPointer<FlashPlayer> warm_; // the player whose page has started Ruffle
    std::vector<QPointer<FlashPlayer>> retiring_;
    int retireAfter_ = RetireAfter;
    bool preparing_ = false;
    bool releasing_ = false; // the kept player goes once its movie has stopped
};
