#include "viewer/qt/PlayerReadiness.h"

#include "viewer/qt/ReadyPlayer.h"

using Clock = viewer::PlayerDemand::Clock;

PlayerReadiness::PlayerReadiness(ReadyPlayer& players, MovieLink isMovieLink, std::chrono::milliseconds idle,
                                 QObject* parent)
    : QObject(parent), players_(players), isMovieLink_(std::move(isMovieLink)), demand_(idle) {
    idleEnd_.setSingleShot(true);
    connect(&idleEnd_, &QTimer::timeout, this, &PlayerReadiness::follow);
    pointerRest_.setSingleShot(true);
    connect(&pointerRest_, &QTimer::timeout, this, &PlayerReadiness::movieNear);
    // A movie that ended may well be followed by another one.
    connect(&players_, &ReadyPlayer::returned, this, &PlayerReadiness::movieNear);
}

void PlayerReadiness::moviePageShown(bool inView) {
    demand_.moviePageShown(inView, Clock::now());
    follow();
}

void PlayerReadiness::linkHovered(const QUrl& link) {
    if (!link.isEmpty() && isMovieLink_(link))
        pointerRest_.start(viewer::PlayerDemand::LinkRest);
    else
        pointerRest_.stop();
}

void PlayerReadiness::movieTabPointed(bool on) {
    if (on)
        pointerRest_.start(viewer::PlayerDemand::TabRest);
    else
        pointerRest_.stop();
}

void PlayerReadiness::movieNear() {
    demand_.movieNear(Clock::now());
    follow();
}

void PlayerReadiness::follow() {
    const auto now = Clock::now();
    if (demand_.wanted(now))
        players_.prepare();
    else
        players_.release();
    if (const auto left = demand_.releaseIn(now))
        // Rounded up: a timer that fires a moment early would find the player still wanted.
        idleEnd_.start(std::chrono::ceil<std::chrono::milliseconds>(*left) + std::chrono::milliseconds(1));
    else
        idleEnd_.stop();
}
