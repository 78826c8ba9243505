#pragma once
// Turns SIGTERM and SIGINT into a Qt signal on the main thread, so that the program can close its
// windows and end its web-engine processes instead of dying with them left behind.

#include <QObject>

class QSocketNotifier;

class TerminationSignal : public QObject {
    Q_OBJECT
  public:
    // Installs the handlers; one instance per process.
    explicit TerminationSignal(QObject* parent = nullptr);
    ~TerminationSignal() override;

  signals:
    void received();

  private:
    QSocketNotifier* notifier_ = nullptr;
};
