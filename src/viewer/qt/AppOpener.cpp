#include "viewer/qt/AppOpener.h"

#include "pages/FetchText.h"
#include "viewer/LocalMovie.h"

#include <QCoreApplication>
#include <QTimer>
#include <memory>
#include <system_error>

const QString AppOpener::UnreachableNote = QStringLiteral("无法连接应用商店，请稍后再试。");
const QString AppOpener::NotAnAppNote = QStringLiteral("应用商店没有找到这个应用，请稍后再试。");

AppOpener::AppOpener(base::Folders folders, Settings settings, std::string storeSite, WebProfiles& web,
                     PlayerGroup& group, QObject* parent)
    : QObject(parent), folders_(std::move(folders)), settings_(std::move(settings)),
      storeSite_(std::move(storeSite)), web_(web), group_(group), kept_(folders_.data),
      players_(group, viewer::PlayerFiles{folders_.program / "player", folders_.data / "Game",
                                          folders_.data / "Saves"}) {
    connect(&players_, &ReadyPlayer::retired, this, &AppOpener::runWhenClosed);
    // With a movie near, the next viewer's window is built ahead, while the player waits for a
    // click: its skin would otherwise take a good part of the time from the click to the movie's
    // first frame. It goes with the ready player.
    connect(&players_, &ReadyPlayer::warm, this, &AppOpener::buildAhead);
    connect(&players_, &ReadyPlayer::returned, this, &AppOpener::buildAhead);
    connect(&players_, &ReadyPlayer::released, this, [this] {
        if (!building_ && !reading()) delete next_;
    });
}

AppOpener::~AppOpener() {
    delete next_;
    delete viewer_;
}

void AppOpener::open(const QUrl& link) {
    const int click = ++latest_;
    latestLink_ = link;
    auto result = std::make_shared<viewer::OpenedApp>();
    // The worker owns copies of what it reads; it ends before this object does.
    readers_.start(
        [result, address = link.toString().toStdString(), site = storeSite_, kept = kept_,
         self = QPointer<AppOpener>(this), click] {
            setFetchDeadline(std::chrono::steady_clock::now() + ReadDeadline);
            // Once the entry address tells the kind of app, the window builds its view while the
            // details are read.
            const auto kindKnown = [self, click, address](bool isWidgetApp) {
                QMetaObject::invokeMethod(
                    qApp,
                    [self, click, isWidgetApp, address] {
                        if (self) self->prepareView(click, isWidgetApp, address);
                    },
                    Qt::QueuedConnection);
            };
            *result = kept.read(address, site, kindKnown);
        },
        [this, click, result] {
            if (click != latest_) return;
            if (building_)
                ready_ = {click, *result}; // shown once the window being built is done
            else
                finish(*result);
        });

    // While the store answers, the window's app-independent part is built (hidden), unless it was
    // built ahead.
    buildNext();
}

// Loading the skin lets pending events run, among them possibly the end of a read or another click.
void AppOpener::buildNext() {
    if (next_ || building_) return;
    building_ = true;
    next_ = newViewer(&players_);
    next_->winId(); // its window on the screen's side too, so that showing it later is quick
    building_ = false;
    if (ready_ && ready_->first == latest_) finish(ready_->second);
    ready_.reset();
}

// Once the events pending now have run, while a player is kept, and not while a viewer shows: its
// movie is starting, and the skin's work on this thread would hold up the movie's frames.
void AppOpener::buildAhead() {
    QTimer::singleShot(0, this, [this] {
        if (players_.kept() && (!viewer_ || !viewer_->isVisible())) buildNext();
    });
}

void AppOpener::openFile(const std::filesystem::path& path) {
    auto movie = std::make_shared<viewer::LocalMovie>();
    readers_.start([movie, path] { *movie = viewer::LocalMovie::check(path); },
                   [this, movie] {
                       if (movie->problem == viewer::LocalMovie::Problem::None)
                           showFile(movie->app());
                       else
                           emit notOpened(QString::fromStdString(movie->note()));
                   });
}

void AppOpener::showFile(const viewer::OpenedApp& app) {
    std::erase_if(fileViewers_, [](const QPointer<FlashPayFrm>& viewer) { return !viewer; });
    for (FlashPayFrm* viewer : fileViewers_) {
        if (viewer->app().Link != app.Link || !viewer->isVisible()) continue;
        if (viewer->isMinimized()) viewer->setWindowState(viewer->windowState() & ~Qt::WindowMinimized);
        viewer->raise();
        viewer->activateWindow();
        return;
    }
    auto* viewer = newViewer(nullptr);
    fileViewers_.emplace_back(viewer);
    current_ = app;
    currentLink_ = QUrl(QString::fromStdString(app.Link));
    viewer->load(app);
    viewer->show();
    emit opened(viewer);
}

bool AppOpener::isKeptMovieApp(const QUrl& link) const {
    std::error_code ec;
    return std::filesystem::exists(kept_.fileFor(link.toString().toStdString()), ec);
}

void AppOpener::prepareView(int click, bool isWidgetApp, const std::string& link) {
    if (click != latest_ || building_ || !next_) return;
    next_->prepareAppView(isWidgetApp, link);
}

FlashPayFrm* AppOpener::newViewer(ReadyPlayer* players) {
    auto* viewer = new FlashPayFrm(settings_, folders_, web_, group_, players);
    ++viewers_;
    connect(viewer, &QObject::destroyed, this, &AppOpener::viewerGone);
    return viewer;
}

void AppOpener::viewerGone() {
    --viewers_;
    runWhenClosed();
}

void AppOpener::runWhenClosed() {
    if (!viewersClosed()) return;
    for (auto& then : std::exchange(whenClosed_, {}))
        then();
}

void AppOpener::whenViewersClosed(std::function<void()> then) {
    if (!viewersClosed())
        whenClosed_.push_back(std::move(then));
    else
        QMetaObject::invokeMethod(this, std::move(then), Qt::QueuedConnection);
}

void AppOpener::closeViewer() {
    ++latest_; // an app still being read is not shown any more
    ready_.reset();
    delete next_;
    if (viewer_) viewer_->close();
    for (FlashPayFrm* viewer : fileViewers_)
        if (viewer) viewer->close();
}

void AppOpener::finish(const viewer::OpenedApp& app) {
    using Outcome = viewer::OpenedApp::Outcome;
    if (app.opens())
        show(app);
    else
        emit notOpened(app.outcome == Outcome::NotAnApp ? NotAnAppNote : UnreachableNote);
}

void AppOpener::show(const viewer::OpenedApp& app) {
    current_ = app;
    currentLink_ = latestLink_;
    // The old viewer leaves the screen at once and gives its player back for the new one, whose movie
    // starts once the old movie has saved; the old viewer goes later, after the new one shows.
    if (viewer_) {
        viewer_->releasePlayer();
        viewer_->close();
    }
    // A window prepared for an earlier click may hold the other kind of view, or another page
    // app's profile.
    if (next_ && !next_->suits(app)) delete next_;
    viewer_ = next_ ? next_.data() : newViewer(&players_);
    next_ = nullptr;
    viewer_->load(current_);
    viewer_->show();
    emit opened(viewer_);
}
