#pragma once
// One Brindle per application folder. The running one holds the folder's lock file (base::RunLock)
// and listens on a local socket named after the folder; a second start that finds the lock taken
// asks it, through that socket, to bring its catalogue window to the front, and ends before it
// starts Sorrel or writes anything. The request may name movie files for the running one to open
// (a "show" line, then one "open <file:// address>" line per file); paths are made absolute by the
// start that sends them, as only it knows its current folder. The socket is removed when the
// listener goes, and a socket left behind by a crash is removed by the next holder of the lock, so
// it never blocks a start.
//
// Other users of the machine must neither receive nor send the requests. The socket lives in a
// folder that only this user can enter: $XDG_RUNTIME_DIR, /run/user/<uid> or /tmp/brindle-<uid>
// (made with mode 0700), the first that is a real folder owned by this user with no access for
// others; a folder or socket that another user owns is never used, and the log says so. The places
// do not depend on TMPDIR, so starts with different temporary folders still meet. Each connection's
// peer must be this user, on both sides.

#include <QObject>
#include <chrono>
#include <filesystem>
#include <vector>

class QLocalServer;
class QLocalSocket;
class QWidget;

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    // The local socket's file name for appFolder: the same for every start in that folder by this
    // user, different for any other folder or user.
    static QString serverName(const std::filesystem::path& appFolder);

    // Asks the instance running in appFolder to show its window and open files (absolute paths),
    // trying to reach it for up to timeout (it may still be starting). True when the request was
    // delivered. Needs a QCoreApplication.
    static bool askToShow(const std::filesystem::path& appFolder, std::chrono::milliseconds timeout,
                          const std::vector<std::filesystem::path>& files = {});

    // Brings window to the front: back from minimised (keeping a maximised state), raised above the
    // others and given the focus. Works with and without a window manager.
    static void bringToFront(QWidget* window);

    // Listens for the requests of later starts. The caller holds the folder's lock, so a socket of
    // that name can only be left over from an instance that crashed, and is replaced. When no
    // folder is usable or listening fails, the log says why and the program runs on without it.
    explicit SingleInstance(const std::filesystem::path& appFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    bool listening() const;
    // The socket's path while listening.
    QString socketPath() const;

  signals:
    // A later start asked for the window.
    void showRequested();
    // A later start asked to open the movie file at path, after showRequested.
    void fileRequested(const QString& path);

  private:
    void readRequest(QLocalSocket* socket);

    QLocalServer* server_ = nullptr;
};
