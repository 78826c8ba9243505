#include "viewer/qt/AppOpener.h"

#include <QThread>
#include <memory>

AppOpener::AppOpener(std::filesystem::path appFolder, Settings settings, std::string storeSite,
                     QObject* parent)
    : QObject(parent), appFolder_(std::move(appFolder)), settings_(std::move(settings)),
      storeSite_(std::move(storeSite)) {}

AppOpener::~AppOpener() {
    delete viewer_;
}

void AppOpener::open(const QUrl& link) {
    const int click = ++latest_;
    auto result = std::make_shared<viewer::OpenedApp>();
    // The worker owns copies of what it reads, so it may outlive this object; its result is then
    // dropped with the connection below.
    QThread* worker = QThread::create([result, address = link.toString().toStdString(), site = storeSite_] {
        *result = viewer::OpenedApp::read(address, site);
    });
    connect(worker, &QThread::finished, this, [this, click, result] {
        if (click == latest_) show(*result);
    });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
}

void AppOpener::closeViewer() {
    if (viewer_) viewer_->close();
}

void AppOpener::show(const viewer::OpenedApp& app) {
    current_ = app;
    // The old viewer leaves the screen at once; deleting it (its web views and player) waits until
    // the new one shows.
    if (viewer_) {
        viewer_->hide();
        viewer_->deleteLater();
    }
    viewer_ = new FlashPayFrm(current_, settings_, appFolder_);
    viewer_->show();
    emit opened(viewer_);
}
