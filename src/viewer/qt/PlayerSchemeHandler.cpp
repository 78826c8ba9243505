#include "viewer/qt/PlayerSchemeHandler.h"

#include "base/AtomicFile.h"
#include "controls/CurlReader.h"
#include "controls/qt/DownloadQtLoop.h"
#include "viewer/ServedFile.h"

#include <QBuffer>
#include <QFile>
#include <QTimer>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

// One fetch of a missing file, with the requests that wait for it.
struct PlayerSchemeHandler::Fetch : UrlReaderListener {
    PlayerSchemeHandler* handler;
    std::string key; // the target file
    std::string url;
    std::string relative; // its path below the site folder
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

void PlayerSchemeHandler::setMovie(const QUrl& address, const QString& file,
                                   const std::optional<viewer::MoviePlace>& place) {
    movieAddress_ = address;
    movieFile_ = file;
    place_ = place;
}

void PlayerSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    const QUrl url = job->requestUrl();
    if (job->requestMethod() != "GET" || url.host() != QLatin1String(viewer::kPlayerHost)) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    // Compared decoded, since the page may escape the address differently from how it was given.
    if (!movieFile_.isEmpty() && url.path(QUrl::FullyDecoded) == movieAddress_.path(QUrl::FullyDecoded) &&
        url.query(QUrl::FullyDecoded) == movieAddress_.query(QUrl::FullyDecoded)) {
        replyMovieFile(job, movieFile_.toStdString());
        return;
    }
    serve(job, url.path(QUrl::FullyDecoded).toStdString());
}

void PlayerSchemeHandler::serve(QWebEngineUrlRequestJob* job, const std::string& path) {
    if (path.starts_with("/player/")) {
        if (auto file = files_.resolve(path)) return replyPlayerFile(job, *file);
    } else if (!place_) {
        if (auto file = files_.resolve(path)) return replyMovieFile(job, *file);
    } else if (auto relative = files_.siteRelative(*place_, path)) {
        if (auto file = files_.siteFile(*place_, *relative)) return replyMovieFile(job, *file);
        if (!place_->isLocal()) return fetch(job, path, *relative);
    }
    job->fail(QWebEngineUrlRequestJob::UrlNotFound);
}

void PlayerSchemeHandler::fetch(QWebEngineUrlRequestJob* job, const std::string& path,
                                const std::string& relative) {
    const auto url = place_->addressOf(relative);
    if (!url || failed_.count(*url)) return replyEarlier(job, relative);
    const auto target = files_.siteFetchTarget(*place_, relative);
    if (!target) return replyEarlier(job, relative);
    const std::string key = target->string();
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
        fetch->relative = relative;
        if (reader_->start({*url, key, base::temporarySibling(*target)}, *fetch)) {
            fetches_.erase(key);
            failed_.insert(*url);
            return replyEarlier(job, relative);
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
            replyMovieFile(job, key);
        else
            replyEarlier(job, fetch.relative);
    }
    while (!waiting_.empty() && fetches_.size() < kMaxFetches) {
        const auto [job, path] = waiting_.front();
        waiting_.pop_front();
        if (job) serve(job, path);
    }
}

void PlayerSchemeHandler::replyEarlier(QWebEngineUrlRequestJob* job, const std::string& relative) {
    if (auto file = files_.resolve("/Game/" + relative)) return replyMovieFile(job, *file);
    job->fail(QWebEngineUrlRequestJob::UrlNotFound);
}

void PlayerSchemeHandler::replyPlayerFile(QWebEngineUrlRequestJob* job, const fs::path& file) {
    // The job owns the file and closes it when the reply has been read.
    auto* device = new QFile(QString::fromStdString(file.string()), job);
    if (!device->open(QIODevice::ReadOnly)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    job->reply(QByteArray::fromStdString(viewer::contentTypeOf(file)), device);
}

void PlayerSchemeHandler::replyMovieFile(QWebEngineUrlRequestJob* job, const fs::path& file) {
    QPointer<QWebEngineUrlRequestJob> guarded(job);
    readers_.start([this, guarded, file, movie = movieFile_.toStdString()] {
        // The movie playing decides how its loaded text is read.
        char header[4] = {};
        std::ifstream(movie, std::ios::binary).read(header, sizeof header);
        std::ifstream in(file, std::ios::binary);
        std::optional<viewer::ServedFile> served;
        if (in)
            served = viewer::servedFile(file, std::string(std::istreambuf_iterator<char>(in), {}),
                                        viewer::movieVersion(std::string_view(header, sizeof header)));
        // Answered on the user-interface thread, where the job lives; dropped when the handler
        // has gone meanwhile.
        QMetaObject::invokeMethod(this, [guarded, served = std::move(served)] {
            if (!guarded) return;
            if (!served) {
                guarded->fail(QWebEngineUrlRequestJob::UrlNotFound);
                return;
            }
            auto* device = new QBuffer(guarded);
            device->setData(QByteArray::fromStdString(served->bytes));
            device->open(QIODevice::ReadOnly);
            guarded->reply(QByteArray::fromStdString(served->contentType), device);
        });
    });
}
