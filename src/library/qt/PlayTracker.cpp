#include "library/qt/PlayTracker.h"

#include "base/AtomicFile.h"
#include "base/Url.h"
#include "library/qt/LibraryLog.h"
#include "pages/FetchText.h"
#include "viewer/qt/FlashPayFrm.h"
#include "viewer/qt/FlashPlayer.h"

#include <QColor>
#include <QCryptographicHash>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEvent>
#include <QImage>
#include <QRegularExpression>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <memory>

namespace fs = std::filesystem;

namespace {

// An icon larger than this is no icon.
constexpr std::size_t MaxIconBytes = 1 << 20;
constexpr std::chrono::seconds IconDeadline{30};

// The icon's file name in Icons/: a hash of its address, with the address's picture extension, so
// that apps sharing one icon keep one file.
std::string iconFileName(const std::string& address) {
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray::fromStdString(address), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    const QString suffix =
        QUrl(QString::fromStdString(address)).fileName().section(QLatin1Char('.'), -1).toLower();
    const bool picture = QStringList{"svg", "png", "jpg", "jpeg", "gif", "ico"}.contains(suffix);
    return hash.toStdString() + "." + (picture ? suffix.toStdString() : std::string("img"));
}

// The picture's bytes as kept. Qt draws SVG Tiny, which knows no hsl() colours, and the store draws
// its icons with them: they become #rrggbb, or the icon would be black.
std::string keptPicture(const std::string& bytes) {
    if (bytes.find("<svg") == std::string::npos || bytes.find("hsl(") == std::string::npos) return bytes;
    static const QRegularExpression hsl(
        QStringLiteral(R"(hsl\(\s*([\d.]+)\s*,\s*([\d.]+)%\s*,\s*([\d.]+)%\s*\))"));
    QString text = QString::fromStdString(bytes);
    QString out;
    qsizetype from = 0;
    for (auto it = hsl.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        out += text.mid(from, match.capturedStart() - from);
        out += QColor::fromHslF(std::fmod(match.captured(1).toFloat(), 360.0f) / 360.0f,
                                std::min(match.captured(2).toFloat(), 100.0f) / 100.0f,
                                std::min(match.captured(3).toFloat(), 100.0f) / 100.0f)
                   .name();
        from = match.capturedEnd();
    }
    out += text.mid(from);
    return out.toStdString();
}

// On the library's thread: records play at when; whether its icon is still to be kept, nothing
// when there is no library (a failed write throws).
std::optional<bool> recordPlay(library::PlayLibrary* library, const PlayTracker::Play& play,
                               std::int64_t when, const fs::path& icons) {
    if (!library) return std::nullopt;
    const auto existing = library->find(play.link);
    std::string iconFile = existing ? existing->iconFile : std::string();
    if (!iconFile.empty() && !fs::is_regular_file(icons / iconFile)) iconFile.clear();
    library->recordOpen(play.link, play.name, play.isMovie, play.movieFile, iconFile, when);
    return iconFile.empty();
}

} // namespace

PlayTracker::PlayTracker(LibraryService& library, fs::path appFolder, QObject* parent, Clock clock)
    : QObject(parent), library_(library), appFolder_(std::move(appFolder)), clock_(std::move(clock)) {
    if (!clock_) {
        auto timer = std::make_shared<QElapsedTimer>();
        timer->start();
        clock_ = [timer] { return timer->elapsed(); };
    }
    auto* flushTimer = new QTimer(this);
    flushTimer->setInterval(FlushInterval);
    connect(flushTimer, &QTimer::timeout, this, &PlayTracker::flush);
    flushTimer->start();
    retry_.setSingleShot(true);
    retry_.setInterval(RetryInterval);
    connect(&retry_, &QTimer::timeout, this, &PlayTracker::retry);
}

PlayTracker::~PlayTracker() {
    flush();
    // A last try for what still waits, made before the library's thread ends; nothing comes back.
    for (const Pending& pending : plays_)
        library_.run([pending, icons = appFolder_ / "Icons"](library::PlayLibrary* library) {
            recordPlay(library, pending.play, pending.when, icons);
        });
    for (const auto& [link, seconds] : seconds_)
        library_.run([link, seconds](library::PlayLibrary* library) {
            if (library) library->addPlayTime(link, seconds);
        });
}

void PlayTracker::trackViewer(FlashPayFrm* viewer, const std::string& link) {
    const viewer::OpenedApp& app = viewer->app();
    Play play{link, app.CurrentApp.Name, app.IsWidgetApp, {}, app.CurrentApp.Icon};
    if (!play.isMovie) {
        record(viewer, play);
        return;
    }
    play.movieFile = viewer->movieFile();
    FlashPlayer* flash = viewer->flash();
    if (!flash || play.movieFile.empty()) return;
    if (flash->isMovieLoaded()) {
        record(viewer, play);
        return;
    }
    // Counted at the first start only: the reload tab starts the same movie again. The player
    // passes on to the next viewer, so only a start while this viewer holds it counts.
    auto started = std::make_shared<QMetaObject::Connection>();
    *started = connect(flash, &FlashPlayer::movieLoaded, viewer, [this, started, viewer, flash, play] {
        if (viewer->flash() != flash) return;
        disconnect(*started);
        record(viewer, play);
    });
}

void PlayTracker::record(QWidget* window, const Play& play) {
    write({play, QDateTime::currentSecsSinceEpoch(), window});
    watched_.push_back({window, window, play.link});
    window->installEventFilter(this);
    update(watched_.back());
    connect(window, &QObject::destroyed, this, [this, window] {
        for (auto it = watched_.begin(); it != watched_.end(); ++it) {
            if (it->key != window) continue;
            // The window is gone: its last stretch ends now.
            if (it->since >= 0) it->millis += clock_() - it->since;
            it->since = -1;
            add(*it);
            watched_.erase(it);
            return;
        }
    });
}

bool PlayTracker::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowStateChange:
        for (Watched& w : watched_) {
            if (w.key == watched) update(w);
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void PlayTracker::update(Watched& watched) {
    const bool playing = watched.window && watched.window->isVisible() && !watched.window->isMinimized();
    const std::int64_t now = clock_();
    if (playing && watched.since < 0) watched.since = now;
    if (!playing && watched.since >= 0) {
        watched.millis += now - watched.since;
        watched.since = -1;
    }
}

void PlayTracker::flush() {
    const std::int64_t now = clock_();
    for (Watched& w : watched_) {
        if (w.since >= 0) {
            w.millis += now - w.since;
            w.since = now;
        }
        add(w);
    }
}

void PlayTracker::add(Watched& watched) {
    const std::int64_t seconds = watched.millis / 1000;
    if (seconds <= 0) return;
    watched.millis -= seconds * 1000;
    addSeconds(watched.link, seconds);
}

void PlayTracker::write(Pending pending) {
    auto job = [pending, icons = appFolder_ / "Icons"](library::PlayLibrary* library) {
        return recordPlay(library, pending.play, pending.when, icons);
    };
    auto done = [this, pending](std::optional<bool> iconWanted,
                                const LibraryService::Problem& problem) mutable {
        if (!iconWanted) {
            if (!pending.failed) {
                qCWarning(libraryLog, "Play of %s not recorded yet: %s; kept for later",
                          pending.play.link.c_str(), problem ? problem->why.c_str() : "no library");
                ++unwritten_;
            }
            pending.failed = true;
            if (problem && !problem->busy && !notCountedSaid_) {
                notCountedSaid_ = true;
                emit notCounted(pending.window, QStringLiteral("这次游戏没能记入“我的游戏”：") +
                                                    QString::fromStdString(problem->why));
            }
            plays_.push_back(pending);
            retry_.start();
            return;
        }
        notCountedSaid_ = false;
        if (pending.failed) --unwritten_;
        if (*iconWanted) keepIcon(pending.play);
        emit changed();
    };
    library_.run(std::move(job), this, std::move(done));
}

void PlayTracker::addSeconds(const std::string& link, std::int64_t seconds) {
    // On the library's thread: false (also when the write throws) to keep the time for later.
    // Time of an app removed from the library meanwhile (no row) is dropped.
    auto job = [link, seconds](library::PlayLibrary* library) {
        if (!library) return false;
        library->addPlayTime(link, seconds);
        return true;
    };
    library_.run(std::move(job), this, [this, link, seconds](bool written) {
        if (written) {
            emit changed();
            return;
        }
        seconds_[link] += seconds;
        retry_.start();
    });
}

void PlayTracker::retry() {
    // Plays first: the time of a play not yet written needs its row.
    std::vector<Pending> plays;
    plays.swap(plays_);
    for (Pending& play : plays)
        write(std::move(play));
    std::map<std::string, std::int64_t> seconds;
    seconds.swap(seconds_);
    for (const auto& [link, value] : seconds)
        addSeconds(link, value);
}

void PlayTracker::keepIcon(const Play& play) {
    if (!base::isWebAddress(play.iconAddress)) return;
    const std::string name = iconFileName(play.iconAddress);
    const fs::path file = appFolder_ / "Icons" / name;
    if (fs::is_regular_file(file)) {
        keepIconFile(play.link, name);
        return;
    }
    auto kept = std::make_shared<bool>(false);
    icons_.start(
        [kept, file, address = play.iconAddress] {
            setFetchDeadline(std::chrono::steady_clock::now() + IconDeadline);
            const auto fetched = FetchBytes(address);
            if (!fetched || fetched->size() > MaxIconBytes) return;
            const std::string bytes = keptPicture(*fetched);
            // Only a picture is kept: a store's error page is no icon.
            if (QImage::fromData(QByteArray::fromStdString(bytes)).isNull()) return;
            std::error_code ec;
            fs::create_directories(file.parent_path(), ec);
            *kept = base::writeFileAtomic(file, bytes);
        },
        [this, kept, link = play.link, name] {
            if (*kept) keepIconFile(link, name);
        });
}

void PlayTracker::keepIconFile(const std::string& link, const std::string& name) {
    library_.run(
        [link, name](library::PlayLibrary* library) { return library && library->setIconFile(link, name); },
        this,
        [this](bool kept) {
            if (kept) emit changed();
        });
}
