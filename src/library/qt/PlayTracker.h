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

#include "library/PlayLibrary.h"

#include <QObject>
#include <QPointer>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
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

    // library must outlive the tracker.
    PlayTracker(library::PlayLibrary& library, std::filesystem::path appFolder, QObject* parent = nullptr,
                Clock clock = {});
    // Adds the time of the windows still watched.
    ~PlayTracker() override;

    // The viewer shows the app opened by link: it counts once it shows (see above).
    void trackViewer(FlashPayFrm* viewer, const std::string& link);
    // Counts play now and watches window for its play time until the window goes.
    void record(QWidget* window, const Play& play);
    // Adds the time counted so far for every watched window (the periodic flush).
    void flush();

  signals:
    // The library changed: a play was counted or an icon was kept.
    void changed();

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
    void update(Watched& watched);
    void add(Watched& watched);
    void keepIcon(const Play& play);

    library::PlayLibrary& library_;
    std::filesystem::path appFolder_;
    Clock clock_;
    std::vector<Watched> watched_;
};
