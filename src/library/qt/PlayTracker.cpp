#include "library/qt/PlayTracker.h"

#include "base/AtomicFile.h"
#include "base/Url.h"
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
#include <QThread>
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

} // namespace

PlayTracker::PlayTracker(library::PlayLibrary& library, fs::path appFolder, QObject* parent, Clock clock)
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
}

PlayTracker::~PlayTracker() {
    flush();
}

void PlayTracker::trackViewer(FlashPayFrm* viewer, const std::string& link) {
    const viewer::OpenedApp& app = viewer->app();
    Play play{link, app.CurrentApp.Name, app.IsWidgetApp, {}, app.CurrentApp.Icon};
    if (!play.isMovie) {
        record(viewer, play);
        return;
    }
    play.movieFile = fs::path(viewer->moviePath().toStdString()).filename().string();
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
    const auto existing = library_.find(play.link);
    std::string iconFile = existing ? existing->iconFile : std::string();
    if (!iconFile.empty() && !fs::is_regular_file(appFolder_ / "Icons" / iconFile)) iconFile.clear();
    library_.recordOpen(play.link, play.name, play.isMovie, play.movieFile, iconFile,
                        QDateTime::currentSecsSinceEpoch());
    if (iconFile.empty()) keepIcon(play);
    emit changed();

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
    // Kept for the next time when it could not be written (the file busy for longer than SQLite waits).
    if (library_.addPlayTime(watched.link, seconds)) watched.millis -= seconds * 1000;
}

void PlayTracker::keepIcon(const Play& play) {
    if (!base::isWebAddress(play.iconAddress)) return;
    const std::string name = iconFileName(play.iconAddress);
    const fs::path file = appFolder_ / "Icons" / name;
    if (fs::is_regular_file(file)) {
        library_.setIconFile(play.link, name);
        return;
    }
    auto kept = std::make_shared<bool>(false);
    QThread* worker = QThread::create([kept, file, address = play.iconAddress] {
        setFetchDeadline(std::chrono::steady_clock::now() + IconDeadline);
        const auto fetched = FetchBytes(address);
        if (!fetched || fetched->size() > MaxIconBytes) return;
        const std::string bytes = keptPicture(*fetched);
        // Only a picture is kept: a store's error page is no icon.
        if (QImage::fromData(QByteArray::fromStdString(bytes)).isNull()) return;
        std::error_code ec;
        fs::create_directories(file.parent_path(), ec);
        *kept = base::writeFileAtomic(file, bytes);
    });
    connect(worker, &QThread::finished, this, [this, kept, link = play.link, name] {
        if (*kept && library_.setIconFile(link, name)) emit changed();
    });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
}
