#include "viewer/qt/MovieReply.h"

#include "viewer/CodePageMovie.h"

#include <QBuffer>
#include <QFile>
#include <QFutureWatcher>
#include <QPromise>
#include <QThreadPool>
#include <QWebEngineUrlRequestJob>
#include <memory>

namespace {

// The movie in file rewritten, or an empty array when it is to be sent as it is.
QByteArray rewritten(const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) return {};
    // Only movies of version 5 and older may need it; the others are not read whole here.
    const QByteArray head = in.peek(4);
    if (head.size() < 4 || static_cast<unsigned char>(head[3]) > 5) return {};
    const QByteArray bytes = in.readAll();
    const auto movie = viewer::unicodeMovie(std::string_view(bytes.constData(), bytes.size()));
    return movie ? QByteArray::fromStdString(*movie) : QByteArray();
}

} // namespace

void MovieReply::send(QWebEngineUrlRequestJob* job, const QString& file, const QByteArray& contentType) {
    auto promise = std::make_shared<QPromise<QByteArray>>();
    // The watcher belongs to the job: when the page drops the job, nothing is answered.
    auto* watcher = new QFutureWatcher<QByteArray>(job);
    QObject::connect(watcher, &QFutureWatcher<QByteArray>::finished, job, [job, watcher, file, contentType] {
        const QByteArray movie = watcher->result();
        watcher->deleteLater();
        if (movie.isEmpty()) {
            sendFile(job, file, contentType);
            return;
        }
        auto* device = new QBuffer(job);
        device->setData(movie);
        device->open(QIODevice::ReadOnly);
        job->reply(contentType, device);
    });
    watcher->setFuture(promise->future());
    QThreadPool::globalInstance()->start([promise, file] {
        promise->start();
        promise->addResult(rewritten(file));
        promise->finish();
    });
}

void MovieReply::sendFile(QWebEngineUrlRequestJob* job, const QString& file, const QByteArray& contentType) {
    // The job owns the file and closes it when the reply has been read.
    auto* device = new QFile(file, job);
    if (!device->open(QIODevice::ReadOnly)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    job->reply(contentType, device);
}
