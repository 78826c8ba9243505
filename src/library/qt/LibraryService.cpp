#include "library/qt/LibraryService.h"

#include "library/qt/LibraryLog.h"

namespace fs = std::filesystem;

LibraryService::LibraryService(fs::path appFolder, QObject* parent)
    : QObject(parent), appFolder_(std::move(appFolder)), worker_(new QObject) {
    thread_.setObjectName(QStringLiteral("PlayLibrary"));
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.start();
    // Opened at once, so that the first page is read from a library that is ready.
    post([](library::PlayLibrary*) {});
}

LibraryService::~LibraryService() {
    // Posted last, so every job given before it runs first.
    QMetaObject::invokeMethod(
        worker_, [this] { thread_.quit(); }, Qt::QueuedConnection);
    thread_.wait();
    // Closed on this thread once the other has ended: no job uses it any more.
    library_.reset();
}

void LibraryService::post(std::function<void(library::PlayLibrary*)> job) {
    QMetaObject::invokeMethod(
        worker_, [this, job = std::move(job)] { attempt([&] { job(library()); }); }, Qt::QueuedConnection);
}

LibraryService::Problem LibraryService::attempt(const std::function<void()>& work) {
    try {
        work();
        return std::nullopt;
    } catch (const std::exception& e) {
        qCWarning(libraryLog, "The play library failed: %s", e.what());
        return library::LibraryProblem::of(e);
    }
}

library::PlayLibrary* LibraryService::library() {
    if (library_) return library_.get();
    library::LibraryProblem problem;
    library_ = library::PlayLibrary::open(appFolder_, &problem);
    const std::string before = unopened_ ? unopened_->why : std::string();
    unopened_ = library_ ? Problem() : Problem(problem);
    if (problem.why != before) {
        QMetaObject::invokeMethod(
            this,
            [this, problem = QString::fromStdString(problem.why)] {
                problem_ = problem;
                emit problemChanged(problem_);
            },
            Qt::QueuedConnection);
    }
    return library_.get();
}
