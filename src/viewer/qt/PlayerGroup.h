#pragma once
// The Flash players of one program and what they share. One save writer takes the saves of all of
// them, so a viewer that replaces another reads the saves only after the old one's last changes are
// on disk, and a movie starts only once every movie of the group that was stopping has stopped and
// handed over its saves. The saves a movie starts with are read on the group's worker threads, so a
// start never holds up the window. A save that could not be written (a full disk, a folder that
// cannot be written) is logged and reported to the players, so the one whose movie made it can say
// that its progress is not kept.

#include "viewer/qt/WorkerThreads.h"

#include <QObject>
#include <filesystem>
#include <memory>
#include <vector>

class FlashPlayer;
namespace viewer {
class SaveWriter;
}

class PlayerGroup : public QObject {
    Q_OBJECT
  public:
    // The players' saves go to writer, which must outlive the group: the program keeps it to its
    // end, so that saves are written while the windows go, and waits for it last.
    explicit PlayerGroup(viewer::SaveWriter& writer, QObject* parent = nullptr);
    // The same with a writer of the group's own, which writes what is left when the group goes.
    explicit PlayerGroup(QObject* parent = nullptr);
    ~PlayerGroup() override;

    viewer::SaveWriter& writer() const { return writer_; }
    WorkerThreads& readers() { return readers_; }

    // A player takes part from its construction to its destruction.
    void join(FlashPlayer* player);
    void leave(FlashPlayer* player);
    // Whether the movie of any player of the group is stopping.
    bool stopping() const;

  signals:
    // A movie of the group has stopped (or its player went while it stopped): movies waiting may
    // start, on saves read from now on.
    void stopEnded();
    // A change of the save file could not be carried out.
    void saveFailed(const std::filesystem::path& file);

  private:
    std::unique_ptr<viewer::SaveWriter> ownWriter_;
    viewer::SaveWriter& writer_;
    std::vector<FlashPlayer*> players_;
    WorkerThreads readers_; // last, so that the reads end before the rest goes
};
