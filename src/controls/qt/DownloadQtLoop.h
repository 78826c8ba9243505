#pragma once
// The download reader's view of the Qt event loop: tasks posted from any thread run as queued
// calls on the thread that created this object (the user-interface thread).

#include "controls/DownloadMessageLoop.h"

#include <QObject>

class DownloadQtLoop : public DownloadMessageLoop {
  public:
    void post(std::function<void()> task) override;

  private:
    QObject context_; // queued calls die with it, so nothing runs after the loop is gone
};
