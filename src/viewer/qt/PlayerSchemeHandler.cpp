#include "viewer/qt/PlayerSchemeHandler.h"

#include "base/AtomicFile.h"
#include "controls/CurlReader.h"
#include "controls/qt/DownloadQtLoop.h"
#include "viewer/qt/MovieReply.h"

#include <QTimer>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace fs = std::filesystem;

// One fetch of a missing file, with the requests that wait for it.
struct PlayerSchemeHandler::Fetch : UrlReaderListener {
    PlayerSchemeHandler* handler;
    std::string key; // the target file
    std::string url;
    std::vector<QPointer<QWebEngineUrlRequestJob>> jobs;
    bool ended = false;

    void onReadProgress(const ReadProgress& progress) override {
        // A redirect could lead anywhere; a file beside the movie comes from the movie's folder.
        if (progress.status == ReadStatus::Error || progress.status == ReadStatus::Redirecting) {
            handler->reader_->cancel(key);
            end(false);
        }
    }
    void onReadComplete(ReadCompletion& completion) override {
        end(completion.saveError.empty() && completion.bodyFile.moveTo(key).empty());
    }
    // The fetch is dropped later, never inside the reader's call into it.
    void end(bool ok) {
        if (ended) return;
        ended = true;
        QTimer::singleShot(0, handler, [handler = handler, key = key, ok] { handler->fetchEnded(key, ok); });
    }
};

PlayerSchemeHandler::PlayerSchemeHandler(viewer::PlayerFiles files, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent), files_(std::move(files)), loop_(std::make_unique<DownloadQtLoop>()),
      reader_(std::make_unique<CurlReader>(*loop_)) {}

// The reader goes first: it stops its reads before the fetches that listen to them.
PlayerSchemeHandler::~PlayerSchemeHandler() {
    reader_.reset();
}

void PlayerSchemeHandler::registerScheme() {
    QWebEngineUrlScheme scheme(QByteArray(viewer::kPlayerScheme.data(), viewer::kPlayerScheme.size()));
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::CorsEnabled);
    QWebEngineUrlScheme::registerScheme(scheme);
}

void PlayerSchemeHandler::setMovie(const QUrl& address, const QString& file, const QString& storeAddress) {
    movieAddress_ = address;
    movieFile_ = file;
    storeAddress_ = storeAddress;
}

void PlayerSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    const QUrl url = job->requestUrl();
    if (job->requestMethod() != "GET" || url.host() != QLatin1String(viewer::kPlayerHost)) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    const std::string path = url.path(QUrl::FullyDecoded).toStdString();
    // Compared decoded, since the page may escape the address differently from how it was given.
    if (!movieFile_.isEmpty() && url.path(QUrl::FullyDecoded) == movieAddress_.path(QUrl::FullyDecoded) &&
        url.query(QUrl::FullyDecoded) == movieAddress_.query(QUrl::FullyDecoded)) {
        if (auto file = files_.resolve("/Game/" + fs::path(movieFile_.toStdString()).filename().string())) {
            reply(job, *file);
            return;
        }
    }
    serve(job, path);
}

void PlayerSchemeHandler::serve(QWebEngineUrlRequestJob* job, const std::string& path) {
    if (auto file = files_.resolve(path)) {
        reply(job, *file);
        return;
    }
    if (auto target = files_.fetchTarget(path)) {
        fetch(job, path, *target);
        return;
    }
    job->fail(QWebEngineUrlRequestJob::UrlNotFound);
}

void PlayerSchemeHandler::fetch(QWebEngineUrlRequestJob* job, const std::string& path,
                                const fs::path& target) {
    const auto url = viewer::siblingAddress(storeAddress_.toStdString(), target.filename().string());
    if (!url || failed_.count(*url)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    const std::string key = target.string();
    // A movie that asks for many files at once gets them a few at a time.
    if (!fetches_.count(key) && fetches_.size() >= kMaxFetches) {
        waiting_.push_back({job, path});
        return;
    }
    auto& fetch = fetches_[key];
    if (!fetch) {
        fetch = std::make_unique<Fetch>();
        fetch->handler = this;
        fetch->key = key;
        fetch->url = *url;
        if (reader_->start({*url, key, base::temporarySibling(target)}, *fetch)) {
            fetches_.erase(key);
            failed_.insert(*url);
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
    }
    fetch->jobs.emplace_back(job);
}

void PlayerSchemeHandler::fetchEnded(const std::string& key, bool ok) {
    auto node = fetches_.extract(key);
    if (node.empty()) return;
    const Fetch& fetch = *node.mapped();
    if (!ok) failed_.insert(fetch.url);
    for (const auto& job : fetch.jobs) {
        if (!job) continue; // the page gave up on it
        if (ok)
            reply(job, key);
        else
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
    }
    while (!waiting_.empty() && fetches_.size() < kMaxFetches) {
        const auto [job, path] = waiting_.front();
        waiting_.pop_front();
        if (job) serve(job, path);
    }
}

void PlayerSchemeHandler::reply(QWebEngineUrlRequestJob* job, const fs::path& file) {
    const auto type = QByteArray::fromStdString(viewer::contentTypeOf(file));
    // Movies, the one playing and those it loads, may need their strings rewritten first.
    if (type == "application/x-shockwave-flash")
        MovieReply::send(job, QString::fromStdString(file.string()), type);
    else
        MovieReply::sendFile(job, QString::fromStdString(file.string()), type);
}
