#pragma once
// The play library of the application folder, used on a thread of its own: opening and checking
// Library.db, and every read and write of it, may wait on the disk or on another process holding
// the file, and the window must not wait with them.
//
// Jobs run one after another on that thread, in the order they were given, with the library (null
// while it cannot be used); their results come back on the thread of the object that asked, unless
// that object has gone. A library that could not be opened is tried again with the next job, so a
// file that was only busy serves again once it is free. A job that throws (SQLite failing on a busy
// or full file, the disk) is logged with the reason, and its result is the empty one (false,
// nothing); the one who asked may also have why (a LibraryProblem), to say it where the player
// acted. The thread ends, after the jobs given so far, when the service is destroyed.

#include "library/PlayLibrary.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QThread>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>

class LibraryService : public QObject {
    Q_OBJECT
  public:
    explicit LibraryService(std::filesystem::path appFolder, QObject* parent = nullptr);
    // Runs the jobs given so far, then ends the thread.
    ~LibraryService() override;

    // Why the library could not serve a job: it threw, or the library could not be opened (the
    // job ran with null); nothing when it served.
    using Problem = std::optional<library::LibraryProblem>;

    // Runs job(library) on the library's thread, then on context's thread while context is there
    // done(result), or done(result, problem) when done takes the problem too.
    template <class Job, class Done> void run(Job job, QObject* context, Done done) {
        using Result = std::invoke_result_t<Job&, library::PlayLibrary*>;
        post([this, job = std::move(job), context = QPointer<QObject>(context),
              done = std::move(done)](library::PlayLibrary* library) mutable {
            auto result = std::make_shared<Result>();
            auto problem = std::make_shared<Problem>(attempt([&] { *result = job(library); }));
            if (!*problem && !library) *problem = unopened_;
            QMetaObject::invokeMethod(
                this,
                [context, done = std::move(done), result, problem]() mutable {
                    if (!context) return;
                    if constexpr (std::is_invocable_v<Done&, Result, Problem>)
                        done(std::move(*result), std::move(*problem));
                    else
                        done(std::move(*result));
                },
                Qt::QueuedConnection);
        });
    }
    // Runs job(library) on the library's thread; nothing comes back.
    void run(std::function<void(library::PlayLibrary*)> job) { post(std::move(job)); }

    // Why the library cannot be used, as last found; empty while it can (or before it was opened).
    QString problem() const { return problem_; }

  signals:
    // The library became usable, or could no longer be opened (problem() says why).
    void problemChanged(const QString& problem);

  private:
    // Runs work; why it failed, logged, when it throws.
    static Problem attempt(const std::function<void()>& work);
    void post(std::function<void(library::PlayLibrary*)> job);
    // On the library's thread: the library, opened if it is not yet.
    library::PlayLibrary* library();

    std::filesystem::path appFolder_;
    QThread thread_;
    QObject* worker_; // lives on thread_, where the jobs run
    std::unique_ptr<library::PlayLibrary> library_;
    QString problem_;  // read and written on the owner's thread
    Problem unopened_; // on the library's thread: why the library could not be opened last
};
