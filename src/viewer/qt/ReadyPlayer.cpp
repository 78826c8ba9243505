#include "viewer/qt/ReadyPlayer.h"

#include "viewer/qt/FlashPlayer.h"
#include "viewer/qt/PlayerPage.h"

#include <QTimer>
#include <algorithm>

ReadyPlayer::ReadyPlayer(PlayerGroup& group, viewer::PlayerFiles files, QObject* parent)
    : QObject(parent), group_(group), files_(std::move(files)) {}

ReadyPlayer::~ReadyPlayer() {
    delete kept_;
    for (const QPointer<FlashPlayer>& player : retiring_)
        delete player.data();
}

void ReadyPlayer::prepare() {
    releasing_ = false;
    if (preparing_) return;
    preparing_ = true;
    // A zero timer runs once the events pending now (the catalogue's painting, a click) are done.
    QTimer::singleShot(0, this, [this] {
        preparing_ = false;
        if (!kept_ && !lent_) kept_ = make(nullptr);
    });
}

bool ReadyPlayer::canTake() const {
    return kept_ || !lent_;
}

FlashPlayer* ReadyPlayer::kept() const {
    return kept_;
}

bool ReadyPlayer::isWarm() const {
    return kept_ && kept_ == warm_;
}

FlashPlayer* ReadyPlayer::make(QWidget* parent) {
    auto* player = new FlashPlayer(group_, files_, parent);
    player->hide();
    // A kept player starts Ruffle once its page is there, also after its page's process ended and
    // the page loaded anew; a page that played a movie has started it too.
    auto* page = static_cast<PlayerPage*>(player->page());
    connect(page, &QWebEnginePage::loadStarted, this, [this, player] {
        if (player == warm_) warm_ = nullptr;
    });
    connect(page, &QWebEnginePage::loadFinished, this, [this, player](bool ok) {
        if (ok && player == kept_) warmUp(player);
    });
    const auto started = [this, player] {
        warm_ = player;
        if (player == kept_) emit warm();
    };
    connect(page, &PlayerPage::warm, this, started);
    connect(player, &FlashPlayer::movieLoaded, this, started);
    // Out of the player's own signal before it goes.
    connect(player, &FlashPlayer::movieStopped, this, [this, player] {
        if (releasing_ && player == kept_)
            QTimer::singleShot(0, this, [this] {
                if (releasing_) release();
            });
    });
    return player;
}

void ReadyPlayer::warmUp(FlashPlayer* player) {
    if (player != warm_) player->page()->runJavaScript(QStringLiteral("warmUp()"));
}

FlashPlayer* ReadyPlayer::take(QWidget* parent) {
    releasing_ = false;
    FlashPlayer* player = kept_;
    kept_ = nullptr;
    if (player)
        player->setParent(parent);
    else
        player = make(parent);
    player->hide();
    lent_ = player;
    return player;
}

void ReadyPlayer::keepOutOf(QWidget* window) {
    if (kept_ && window->isAncestorOf(kept_)) kept_->setParent(nullptr);
    // A retiring player's movie may still be stopping: it must not go with the window.
    for (const QPointer<FlashPlayer>& player : retiring_)
        if (player && window->isAncestorOf(player)) player->setParent(nullptr);
}

void ReadyPlayer::giveBack(FlashPlayer* player) {
    if (!player) return;
    if (player == lent_) lent_ = nullptr;
    player->setMovie({});
    player->hide();
    if (player->moviesStarted() >= retireAfter_) {
        retire(player);
    } else {
        if (kept_ && kept_ != player) delete kept_.data();
        kept_ = player;
        warmUp(player);
    }
    emit returned();
}

void ReadyPlayer::retire(FlashPlayer* player) {
    if (player == kept_) kept_ = nullptr;
    std::erase_if(retiring_, [](const QPointer<FlashPlayer>& p) { return !p; });
    retiring_.emplace_back(player);
    if (!player->isStopping()) return player->deleteLater();
    // Out of the player's own signal before it goes.
    connect(
        player, &FlashPlayer::movieStopped, this,
        [this, going = QPointer<FlashPlayer>(player)] {
            if (going) going->deleteLater();
            emit retired();
        },
        static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
}

bool ReadyPlayer::retiring() const {
    return std::any_of(retiring_.begin(), retiring_.end(),
                       [](const QPointer<FlashPlayer>& p) { return p && p->isStopping(); });
}

void ReadyPlayer::release() {
    releasing_ = kept_ && kept_->isStopping();
    if (kept_ && !releasing_) delete kept_.data();
    emit released();
}
