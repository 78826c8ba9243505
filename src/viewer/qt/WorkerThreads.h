#pragma once
// Worker threads with an owner. Each runs one function; when it ends, its result handler runs on
// the owner's thread. The owner's destructor makes the fetches still under way give up (within
// about a second) and waits for every thread, so none outlives the object that started it, nor the
// program.

#include <QObject>
#include <QPointer>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class QThread;

class WorkerThreads : public QObject {
    Q_OBJECT
  public:
    explicit WorkerThreads(QObject* parent = nullptr);
    ~WorkerThreads() override;

    // Runs work on a new thread, then finished on this object's thread, unless this object has gone.
    void start(std::function<void()> work, std::function<void()> finished = {});
    // Threads still running.
    int running() const { return static_cast<int>(threads_.size()); }

  private:
    std::shared_ptr<std::atomic<bool>> cancel_;
    std::vector<QThread*> threads_;
};
