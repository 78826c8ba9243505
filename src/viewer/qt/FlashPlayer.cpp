#include "viewer/qt/FlashPlayer.h"

#include "viewer/RuffleCode.h"
#include "viewer/SaveWriter.h"
#include "viewer/UnscaledMovie.h"
#include "viewer/qt/PlayerGroup.h"
#include "viewer/qt/PlayerPage.h"
#include "viewer/qt/PlayerRequestGuard.h"
#include "viewer/qt/PlayerSchemeHandler.h"
#include "viewer/qt/ViewerLog.h"
#include "web/qt/WebProfiles.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QUrlQuery>
#include <QWebEngineProfile>
#include <fstream>

static QString schemeText(std::string_view text) {
    return QString::fromLatin1(text.data(), text.size());
}

// The player page's address, naming the build of Ruffle's code that the page compiles as it opens
// (see player/code.js).
static QUrl pageAddress(const viewer::PlayerFiles& files) {
    QUrl url = PlayerPage::pageUrl();
    if (const auto code = viewer::extensionsBuildOf(files.playerFolder)) {
        QUrlQuery query;
        query.addQueryItem(QStringLiteral("code"), QString::fromStdString(*code));
        url.setQuery(query);
    }
    return url;
}

static QUrl playerUrl(const QString& folder, const QString& fileName) {
    QUrl url;
    url.setScheme(schemeText(viewer::kPlayerScheme));
    url.setHost(schemeText(viewer::kPlayerHost));
    url.setPath(QStringLiteral("/%1/%2").arg(folder, fileName));
    return url;
}

FlashPlayer::FlashPlayer(PlayerGroup& group, viewer::PlayerFiles files, QWidget* parent)
    : QWebEngineView(parent), group_(&group), files_(std::move(files)),
      profile_(WebProfiles::newPlayerProfile(this)),
      urlOpener_([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    handler_ = new PlayerSchemeHandler(files_, profile_);
    profile_->installUrlSchemeHandler(viewer::kPlayerScheme.data(), handler_);
    profile_->setUrlRequestInterceptor(new PlayerRequestGuard(profile_));
    page_ = new PlayerPage(profile_, this);
    page_->setBackgroundColor(Qt::black); // the player page's colour, also before it has loaded
    setPage(page_);
    setContextMenuPolicy(Qt::NoContextMenu);
    group.join(this);
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
        const QUrl address = webAddressOf(url);
        const bool web =
            address.scheme() == QLatin1String("http") || address.scheme() == QLatin1String("https");
        if (playing_ && urlOpener_ && web) urlOpener_(address);
    });
    // A stop of any player of the group lets this one's movie start, on saves read after it.
    connect(&group, &PlayerGroup::stopEnded, links, [this] {
        forgetReadSaves();
        startPending();
    });
    connect(&group, &PlayerGroup::saveFailed, links,
            [this](const std::filesystem::path& file) { sayFailedSave(file); });
    const QUrl address = pageAddress(files_);
    // A page whose process ended is loaded again, so that a reload can play once more.
    connect(page_, &QWebEnginePage::renderProcessTerminated, links,
            [this, address](QWebEnginePage::RenderProcessTerminationStatus status) {
                if (status == QWebEnginePage::NormalTerminationStatus) return;
                pageReady_ = false;
                // What the movie had not saved went with the process.
                saves_.erase(playing_);
                playing_ = 0;
                finishStop();
                if (!movie_.isEmpty()) emit movieFailed(QStringLiteral("the player's process ended"));
                page_->load(address);
            });
    page_->load(address);
}

// The page goes before its profile, which the web engine requires; what it reports while it goes
// reaches nobody.
FlashPlayer::~FlashPlayer() {
    if (group_) group_->leave(this);
    links_.reset();
    delete page_;
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
    if (self && group_) emit group_->stopEnded();
}

void FlashPlayer::startPending() {
    if (!pending_ || !group_) return;
    if (playing_) return beginStop(); // the movie playing stops first; its stop starts this one
    if (group_->stopping()) return;
    const auto address = movieAddress();
    if (movie_.isEmpty() || !address) {
        if (!pageReady_) return;
        pending_ = false;
        handler_->setMovie({}, {}, {});
        // A file in Game whose name gives no address (such as "..?x") cannot play.
        if (!movie_.isEmpty()) emit movieFailed(QStringLiteral("the movie's name gives no address"));
        return;
    }
    // The saves are read while the page gets ready, if it is not.
    if (!read_ || read_->token != token_) return readSaves(address->first, address->second);
    if (!pageReady_) return;
    pending_ = false;
    play(address->first, *std::exchange(read_, std::nullopt));
}

// The movie's shared objects are keyed by its address's host and path, as Ruffle writes them.
void FlashPlayer::readSaves(const QUrl& url, const std::string& savesName) {
    if (reading_ == token_) return;
    reading_ = token_;
    const viewer::FlashSaves saves(files_.savesFolder, savesName, std::string(viewer::kPlayerHost),
                                   url.path(QUrl::FullyEncoded).mid(1).toStdString());
    auto read = std::make_shared<ReadSaves>(ReadSaves{token_, saves, {}});
    viewer::SaveWriter& writer = group_->writer();
    group_->readers().start(
        [saves, read, &writer, movie = std::filesystem::path(movie_.toStdString())] {
            std::ifstream file(movie, std::ios::binary);
            read->unscaled = viewer::startsUnscaled(file);
            writer.waitIdle(saves.folder());
            read->saves = saves.load();
        },
        [self = QPointer<FlashPlayer>(this), read] {
            if (!self || self->reading_ != read->token) return;
            self->reading_ = 0;
            self->read_ = std::move(*read);
            self->startPending();
        });
}

void FlashPlayer::forgetReadSaves() {
    reading_ = 0;
    read_.reset();
}

void FlashPlayer::play(const QUrl& url, ReadSaves read) {
    handler_->setMovie(url, movie_, place_);
    // Each file once, with the keys it goes under: the page keeps one copy for all of them.
    QJsonArray restored;
    MovieSaves kept{read.files, {}};
    for (const auto& save : read.saves) {
        QJsonArray keys;
        for (const std::string& key : save.keys)
            keys.append(QString::fromStdString(key));
        restored.append(
            QJsonArray{keys, QString::fromLatin1(QByteArray::fromStdString(save.bytes).toBase64())});
        if (const auto file = read.files.fileOf(save.keys.front()))
            kept.quota.admit(*file, save.bytes.size());
    }
    saves_.insert_or_assign(token_, std::move(kept));
    playing_ = token_;
    ++started_;

    const QJsonObject limits{{QStringLiteral("bytes"), static_cast<qint64>(viewer::SaveQuota::MaxBytes)},
                             {QStringLiteral("files"), static_cast<qint64>(viewer::SaveQuota::MaxFiles)}};
    // Absolute addresses into the movie's store folder load from its site folder, as relative ones do.
    QJsonArray rewrite;
    if (place_)
        rewrite = {
            QString::fromStdString(place_->siteAddress()),
            playerUrl(QStringLiteral("Game"), QString::fromStdString(place_->site()) + QLatin1Char('/'))
                .toString(QUrl::FullyEncoded)};
    const QJsonArray args{url.toString(QUrl::FullyEncoded), token_, restored, limits, rewrite, read.unscaled};
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

// Ruffle resolves a movie's relative link against the movie's folder on the player's scheme, and
// rewrites an absolute one into its store folder to that folder too: such a link goes to the store.
QUrl FlashPlayer::webAddressOf(const QUrl& link) const {
    if (link.scheme() != schemeText(viewer::kPlayerScheme)) return link;
    if (!place_ || link.host() != schemeText(viewer::kPlayerHost)) return {};
    QString path = link.path(QUrl::FullyEncoded);
    if (link.hasQuery()) path += QLatin1Char('?') + link.query(QUrl::FullyEncoded);
    if (link.hasFragment()) path += QLatin1Char('#') + link.fragment(QUrl::FullyEncoded);
    const auto address = place_->linkAddressOf(path.toStdString());
    return address ? QUrl(QString::fromStdString(*address), QUrl::StrictMode) : QUrl();
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
    if (group_)
        group_->writer().put(*file, removed ? std::nullopt : std::optional<std::string>(bytes.toStdString()));
}

void FlashPlayer::refuseSave(int token) {
    const auto saves = saves_.find(token);
    if (saves == saves_.end() || saves->second.refusalSaid) return;
    saves->second.refusalSaid = true;
    qCWarning(viewerLog, "a save of %s was refused: over what a movie may keep",
              saves->second.files.folder().c_str());
    emit savesRefused();
}

// A failed write of a movie that has stopped is only logged: its viewer may be gone.
void FlashPlayer::sayFailedSave(const std::filesystem::path& file) {
    const auto saves = saves_.find(playing_);
    if (saves == saves_.end() || saves->second.failureSaid ||
        file.parent_path() != saves->second.files.folder())
        return;
    saves->second.failureSaid = true;
    emit savesNotWritten();
}
