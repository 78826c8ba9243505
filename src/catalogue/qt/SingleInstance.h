#pragma once
// One Brindle per application folder. The running one holds the folder's lock file (base::RunLock)
// and listens on a local socket named after the folder; a second start that finds the lock taken
// asks it, through that socket, to bring its catalogue window to the front, and ends before it
// starts Sorrel or writes anything. The socket is removed when the listener goes, and a socket
// left behind by a crash is removed by the next holder of the lock, so it never blocks a start.

#include <QObject>
#include <chrono>
#include <filesystem>

class QLocalServer;
class QLocalSocket;
class QWidget;

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    // The local socket's name for appFolder: the same for every start in that folder by this user,
    // different for any other folder or user.
    static QString serverName(const std::filesystem::path& appFolder);

    // Asks the instance running in appFolder to show its window, trying to reach it for up to
    // timeout (it may still be starting). True when the request was delivered. Needs a
    // QCoreApplication.
    static bool askToShow(const std::filesystem::path& appFolder, std::chrono::milliseconds timeout);

    // Brings window to the front: back from minimised (keeping a maximised state), raised above the
    // others and given the focus. Works with and without a window manager.
    static void bringToFront(QWidget* window);

    // Listens for the requests of later starts. The caller holds the folder's lock, so a socket of
    // that name can only be left over from an instance that crashed, and is replaced.
    explicit SingleInstance(const std::filesystem::path& appFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    bool listening() const;

  signals:
    // A later start asked for the window.
    void showRequested();

  private:
    void readRequest(QLocalSocket* socket);

    QLocalServer* server_ = nullptr;
};
