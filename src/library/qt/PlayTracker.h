#pragma once
// Keeps the play library up to date with the app viewer: an app counts as played once it shows
// (a movie app once its movie started, a page app when its viewer opened), and its play time is
// the time its viewer window was shown and not minimised, added to the library about once a minute
// and when the window goes, so that a killed program loses at most a minute.
//
// A movie that never started (its download failed, or the file cannot run) counts nothing: the
// list would offer a game that cannot open without the store, and a play that never happened.
//
// The app's icon is kept in Icons/ of the application folder the first time the app counts: it is
// downloaded on a worker thread, so the viewer never waits for it, and written whole.
//
// The library is written on its own thread. A play or play time that cannot be written now (another
// process holds the file, or it cannot be opened) is kept and written once the library is free
// again, so nothing the player did is recorded into the void. A play that cannot be written for
// another reason than a busy file (a read-only or damaged library, a full disk) is also said, once
// until a play is written again, for the window where it was made.

#include "library/qt/LibraryService.h"
#include "viewer/qt/WorkerThreads.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

class FlashPayFrm;
class QWidget;

class PlayTracker : public QObject {
    Q_OBJECT
  public:
    // An app as the library records it.
    struct Play {
        std::string link;
        std::string name;
        bool isMovie = false;
        std::string movieFile;   // its file name in Game/
        std::string iconAddress; // where the store keeps its icon
    };

    // Milliseconds of a monotonic clock; tests give their own.
    using Clock = std::function<std::int64_t()>;
    static constexpr std::chrono::seconds FlushInterval{60};
    // How soon what could not be written is tried again.
    static constexpr std::chrono::seconds RetryInterval{3};

    // library must outlive the tracker.
    PlayTracker(LibraryService& library, std::filesystem::path appFolder, QObject* parent = nullptr,
                Clock clock = {});
    // Adds the time of the windows still watched.
    ~PlayTracker() override;

    // The viewer shows the app opened by link: it counts once it shows (see above).
    void trackViewer(FlashPayFrm* viewer, const std::string& link);
    // Counts play now and watches window for its play time until the window goes.
    void record(QWidget* window, const Play& play);
    // Adds the time counted so far for every watched window (the periodic flush).
    void flush();
    // Plays that could not be written yet, waiting for the library to be free.
    bool waiting() const { return unwritten_ > 0; }

  signals:
    // The library changed: a play was counted, play time added or an icon was kept.
    void changed();
    // The play made in window (null once it has gone) cannot be counted, and why (Chinese).
    void notCounted(QWidget* window, const QString& why);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Watched {
        QPointer<QWidget> window;
        const QObject* key; // the window, also while it is being destroyed
        std::string link;
        std::int64_t since = -1; // when it was last seen playing; -1 while it is not
        std::int64_t millis = 0; // counted and not yet added
    };
    // A play to be written, with when it happened.
    struct Pending {
        Play play;
        std::int64_t when;
        QPointer<QWidget> window; // where it was made
        bool failed = false;      // its first write failed
    };
    void update(Watched& watched);
    void add(Watched& watched);
    void write(Pending play);
    void addSeconds(const std::string& link, std::int64_t seconds);
    void retry();
    void keepIcon(const Play& play);
    void keepIconFile(const std::string& link, const std::string& name);

    LibraryService& library_;
    std::filesystem::path appFolder_;
    Clock clock_;
    std::vector<Watched> watched_;
    std::vector<Pending> plays_;                  // not written yet, to be tried again
    int unwritten_ = 0;                           // plays whose write failed and not yet succeeded
    bool notCountedSaid_ = false;                 // since a play was last written
    std::map<std::string, std::int64_t> seconds_; // play time not written yet, by link
    QTimer retry_;
    WorkerThreads icons_; // last, so the downloads end first
};
