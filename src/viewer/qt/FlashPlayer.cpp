#include "viewer/qt/FlashPlayer.h"

#include "base/Folders.h"
#include "viewer/SaveWriter.h"
#include "viewer/qt/PlayerPage.h"
#include "viewer/qt/PlayerRequestGuard.h"
#include "viewer/qt/PlayerSchemeHandler.h"
#include "viewer/qt/ViewerLog.h"
#include "web/qt/WebProfiles.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QWebEngineProfile>
#include <algorithm>

// One writer for every player of the process, so that a viewer that replaces another reads the
// saves only after the old one's last changes are on disk.
static viewer::SaveWriter& saveWriter() {
    static viewer::SaveWriter writer;
    return writer;
}

// Every player of the process (all on the GUI thread): a movie waits for the stops of all of them.
static std::vector<FlashPlayer*>& livePlayers() {
    static std::vector<FlashPlayer*> players;
    return players;
}

static QString schemeText(std::string_view text) {
    return QString::fromLatin1(text.data(), text.size());
}

static QUrl playerUrl(const QString& folder, const QString& fileName) {
    QUrl url;
    url.setScheme(schemeText(viewer::kPlayerScheme));
    url.setHost(schemeText(viewer::kPlayerHost));
    url.setPath(QStringLiteral("/%1/%2").arg(folder, fileName));
    return url;
}

// The player's files of this program, the movies and saves of this user.
static viewer::PlayerFiles files(const base::Folders& folders) {
    return {folders.program / "player", folders.data / "Game", folders.data / "Saves"};
}

FlashPlayer::FlashPlayer(QWidget* parent) : FlashPlayer(files(base::Folders::ofThisProgram()), parent) {}

FlashPlayer::FlashPlayer(viewer::PlayerFiles files, QWidget* parent)
    : QWebEngineView(parent), files_(std::move(files)), profile_(WebProfiles::newPlayerProfile(this)),
      urlOpener_([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    handler_ = new PlayerSchemeHandler(files_, profile_);
    profile_->installUrlSchemeHandler(viewer::kPlayerScheme.data(), handler_);
    profile_->setUrlRequestInterceptor(new PlayerRequestGuard(profile_));
    page_ = new PlayerPage(profile_, this);
    page_->setBackgroundColor(Qt::black); // the player page's colour, also before it has loaded
    setPage(page_);
    setContextMenuPolicy(Qt::NoContextMenu);
    livePlayers().push_back(this);
    stopDeadline_.setSingleShot(true);
    stopDeadline_.setInterval(StopDeadline);
    connect(&stopDeadline_, &QTimer::timeout, this, [this] {
        qCWarning(viewerLog, "a movie did not hand over its saves in time when it stopped");
        finishStop();
    });

    // The page's reports reach this player through links_, which goes before the page does.
    QObject* links = links_.get();
    // A refused navigation (a movie's link to its own window) reports a failed load of a page that
    // stays as it was.
    connect(page_, &QWebEnginePage::loadFinished, links, [this](bool ok) {
        if (!ok) return;
        pageReady_ = true;
        startPending();
    });
    connect(page_, &PlayerPage::movieLoaded, links, [this](int token) {
        if (token != token_) return;
        loaded_ = true;
        emit movieLoaded();
    });
    connect(page_, &PlayerPage::movieDrawn, links, [this](int token) {
        if (token == token_) emit movieDrawn();
    });
    connect(page_, &PlayerPage::movieFailed, links, [this](int token, const QString& reason) {
        if (token == token_) emit movieFailed(reason);
    });
    connect(page_, &PlayerPage::saveChanged, links,
            [this](int token, const QString& key, const QByteArray& bytes, bool removed) {
                keepSave(token, key, bytes, removed);
            });
    connect(page_, &PlayerPage::saveRefused, links, [this](int token) { refuseSave(token); });
    connect(page_, &PlayerPage::movieStopped, links, [this](int token) {
        if (token == stopping_) finishStop();
    });
    connect(page_, &PlayerPage::movieQuit, links, [this](int token) {
        if (token == playing_) emit quitRequested();
    });
    connect(page_, &PlayerPage::movieFullScreen, links, [this](int token, bool on) {
        if (token == playing_) emit fullScreenRequested(on);
    });
    connect(page_, &PlayerPage::linkOpened, links, [this](const QUrl& url) {
        if (playing_ && urlOpener_) urlOpener_(url);
    });
    // A page whose process ended is loaded again, so that a reload can play once more.
    connect(page_, &QWebEnginePage::renderProcessTerminated, links,
            [this](QWebEnginePage::RenderProcessTerminationStatus status) {
                if (status == QWebEnginePage::NormalTerminationStatus) return;
                pageReady_ = false;
                // What the movie had not saved went with the process.
                saves_.erase(playing_);
                playing_ = 0;
                finishStop();
                if (!movie_.isEmpty()) emit movieFailed(QStringLiteral("the player's process ended"));
                page_->load(PlayerPage::pageUrl());
            });
    page_->load(PlayerPage::pageUrl());
}

// The page goes before its profile, which the web engine requires; what it reports while it goes
// reaches nobody.
FlashPlayer::~FlashPlayer() {
    std::erase(livePlayers(), this);
    links_.reset();
    delete page_;
    if (stopping_) QMetaObject::invokeMethod(qApp, &FlashPlayer::startWaitingPlayers, Qt::QueuedConnection);
}

void FlashPlayer::setMovie(const QString& path, const QString& storeAddress) {
    ++token_;
    place_ = storeAddress.isEmpty() ? std::nullopt : viewer::MoviePlace::of(storeAddress.toStdString());
    loaded_ = false;
    const QFileInfo info(path);
    const QString gameFolder =
        QDir::cleanPath(QDir(QString::fromStdString(files_.gameFolder.string())).absolutePath());
    // A movie from the store may be anywhere in Game; one without a store address plays from Game
    // itself, with the files beside it there; a local movie only from the file its address names.
    const bool playable =
        place_ && place_->isLocal()
            ? QDir::cleanPath(info.absoluteFilePath()).toStdString() == place_->movieOnDisk({}).string()
        : place_ ? QDir::cleanPath(info.absoluteFilePath()).startsWith(gameFolder + QLatin1Char('/'))
                 : QDir::cleanPath(info.absolutePath()) == gameFolder &&
                       viewer::isPlainFileName(info.fileName().toStdString());
    movie_ = playable ? info.absoluteFilePath() : QString();
    pending_ = true;
    startPending();
}

void FlashPlayer::stopMovie() {
    pending_ = false;
    loaded_ = false;
    if (playing_)
        beginStop();
    else if (!stopping_)
        emit movieStopped();
}

void FlashPlayer::beginStop() {
    if (stopping_ || !playing_) return;
    stopping_ = playing_;
    playing_ = 0;
    stopDeadline_.start();
    // A hidden page runs at the web engine's background priority, which a busy machine starves for
    // seconds; the page stopping its movie counts as shown until then, though its view may be gone.
    page_->setVisible(true);
    page_->runJavaScript(QStringLiteral("stopMovie(%1)").arg(stopping_));
}

// The stopping movie reported its last saves (or did not in time, or its page's process ended).
void FlashPlayer::finishStop() {
    if (!stopping_) return;
    stopDeadline_.stop();
    page_->setVisible(isVisible());
    saves_.erase(stopping_);
    stopping_ = 0;
    const QPointer<FlashPlayer> self(this);
    emit movieStopped();
    if (self) startWaitingPlayers();
}

void FlashPlayer::waitForSaves() {
    saveWriter().waitIdle();
}

void FlashPlayer::startWaitingPlayers() {
    // A start may stop a movie or run page scripts; copies guard against players going meanwhile.
    std::vector<QPointer<FlashPlayer>> players(livePlayers().begin(), livePlayers().end());
    for (const auto& player : players)
        if (player) player->startPending();
}

void FlashPlayer::startPending() {
    if (!pending_ || !pageReady_) return;
    if (playing_) return beginStop(); // the movie playing stops first; its stop starts this one
    const auto& players = livePlayers();
    if (std::any_of(players.begin(), players.end(), [](const FlashPlayer* p) { return p->isStopping(); }))
        return;
    pending_ = false;
    const auto address = movieAddress();
    if (movie_.isEmpty() || !address) {
        handler_->setMovie({}, {}, {});
        // A file in Game whose name gives no address (such as "..?x") cannot play.
        if (!movie_.isEmpty()) emit movieFailed(QStringLiteral("the movie's name gives no address"));
        return;
    }
    const QUrl& url = address->first;
    handler_->setMovie(url, movie_, place_);

    // The movie's shared objects are keyed by its address's host and path, as Ruffle writes them.
    const viewer::FlashSaves saves(files_.savesFolder, address->second, std::string(viewer::kPlayerHost),
                                   url.path(QUrl::FullyEncoded).mid(1).toStdString());
    saveWriter().waitIdle();
    // Each file once, with the keys it goes under: the page keeps one copy for all of them.
    QJsonArray restored;
    MovieSaves kept{saves, {}};
    for (const auto& save : saves.load()) {
        QJsonArray keys;
        for (const std::string& key : save.keys)
            keys.append(QString::fromStdString(key));
        restored.append(
            QJsonArray{keys, QString::fromLatin1(QByteArray::fromStdString(save.bytes).toBase64())});
        if (const auto file = saves.fileOf(save.keys.front())) kept.quota.admit(*file, save.bytes.size());
    }
    saves_.insert_or_assign(token_, std::move(kept));
    playing_ = token_;

    const QJsonObject limits{{QStringLiteral("bytes"), static_cast<qint64>(viewer::SaveQuota::MaxBytes)},
                             {QStringLiteral("files"), static_cast<qint64>(viewer::SaveQuota::MaxFiles)}};
    // Absolute addresses into the movie's store folder load from its site folder, as relative ones do.
    QJsonArray rewrite;
    if (place_)
        rewrite = {
            QString::fromStdString(place_->siteAddress()),
            playerUrl(QStringLiteral("Game"), QString::fromStdString(place_->site()) + QLatin1Char('/'))
                .toString(QUrl::FullyEncoded)};
    const QJsonArray args{url.toString(QUrl::FullyEncoded), token_, restored, limits, rewrite};
    page_->runJavaScript(QStringLiteral("playMovie(...%1)")
                             .arg(QString::fromUtf8(QJsonDocument(args).toJson(QJsonDocument::Compact))));
}

std::optional<std::pair<QUrl, std::string>> FlashPlayer::movieAddress() const {
    if (place_) {
        QUrl url = playerUrl(QStringLiteral("Game"),
                             QString::fromStdString(place_->site() + "/" + place_->movieName()));
        if (!place_->query().empty())
            url.setQuery(QString::fromStdString(place_->query()), QUrl::TolerantMode);
        return std::pair{url, place_->savesName()};
    }
    const auto address = viewer::movieAddressOf(QFileInfo(movie_).fileName().toStdString());
    if (!address) return std::nullopt;
    QUrl url = playerUrl(QStringLiteral("Game"), QString::fromStdString(address->name));
    if (!address->query.empty()) url.setQuery(QString::fromStdString(address->query), QUrl::TolerantMode);
    return std::pair{url, address->name};
}

void FlashPlayer::keepSave(int token, const QString& key, const QByteArray& bytes, bool removed) {
    const auto saves = saves_.find(token);
    if (saves == saves_.end()) return;
    const auto file = saves->second.files.fileOf(key.toStdString());
    if (!file) return;
    // The page refuses what goes over the limit itself; a report past it is dropped here too.
    if (removed) {
        saves->second.quota.remove(*file);
    } else if (!saves->second.quota.admit(*file, static_cast<std::size_t>(bytes.size()))) {
        return refuseSave(token);
    }
    saveWriter().put(*file, removed ? std::nullopt : std::optional<std::string>(bytes.toStdString()));
}

void FlashPlayer::refuseSave(int token) {
    const auto saves = saves_.find(token);
    if (saves == saves_.end() || saves->second.refusalSaid) return;
    saves->second.refusalSaid = true;
    qCWarning(viewerLog, "a save of %s was refused: over what a movie may keep",
              saves->second.files.folder().c_str());
    emit savesRefused();
}
