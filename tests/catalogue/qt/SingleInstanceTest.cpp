#include "catalogue/qt/SingleInstance.h"

#include "TempDir.h"
#include "WaitUntil.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QWidget>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

// What a crashed instance leaves behind: a socket file nobody listens on.
void leaveStaleSocket(const QString& name) {
    const QByteArray path = QDir(QDir::tempPath()).absoluteFilePath(name).toLocal8Bit();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(static_cast<std::size_t>(path.size()), sizeof address.sun_path);
    std::copy(path.begin(), path.end(), address.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

} // namespace

TEST(SingleInstance, ALaterStartReachesTheRunningOneOfItsFolderOnly) {
    TempDir folder, other;
    EXPECT_EQ(SingleInstance::serverName(folder.path()), SingleInstance::serverName(folder.path() / "."));
    EXPECT_NE(SingleInstance::serverName(folder.path()), SingleInstance::serverName(other.path()));
    // Nobody runs yet: the request goes nowhere.
    EXPECT_FALSE(SingleInstance::askToShow(folder.path(), 200ms));

    SingleInstance running(folder.path());
    ASSERT_TRUE(running.listening());
    QSignalSpy requests(&running, &SingleInstance::showRequested);
    EXPECT_TRUE(SingleInstance::askToShow(folder.path(), 2000ms));
    EXPECT_TRUE(waitUntil([&] { return requests.count() == 1; }, 5000));
    EXPECT_FALSE(SingleInstance::askToShow(other.path(), 200ms));
    runEventsFor(100);
    EXPECT_EQ(requests.count(), 1);
}

TEST(SingleInstance, ASocketLeftByACrashNeverBlocksTheNextInstanceAndTheSocketGoesWithIt) {
    TempDir folder;
    const QString name = SingleInstance::serverName(folder.path());
    leaveStaleSocket(name);
    EXPECT_FALSE(SingleInstance::askToShow(folder.path(), 100ms));
    {
        SingleInstance running(folder.path());
        ASSERT_TRUE(running.listening());
        QSignalSpy requests(&running, &SingleInstance::showRequested);
        EXPECT_TRUE(SingleInstance::askToShow(folder.path(), 2000ms));
        EXPECT_TRUE(waitUntil([&] { return requests.count() == 1; }, 5000));
    }
    EXPECT_FALSE(QFile::exists(QDir(QDir::tempPath()).absoluteFilePath(name)));
}

TEST(SingleInstance, AnythingButTheRequestShowsNothing) {
    TempDir folder;
    SingleInstance running(folder.path());
    QSignalSpy requests(&running, &SingleInstance::showRequested);
    for (const QByteArray& text : {QByteArray("hello\n"), QByteArray("show"), QByteArray(4096, 'x')}) {
        QLocalSocket socket;
        socket.connectToServer(SingleInstance::serverName(folder.path()));
        ASSERT_TRUE(socket.waitForConnected(2000));
        socket.write(text);
        socket.waitForBytesWritten(2000);
        socket.disconnectFromServer();
    }
    runEventsFor(200);
    EXPECT_EQ(requests.count(), 0);
}

TEST(SingleInstance, BringingToTheFrontUndoesAMinimiseAndKeepsAMaximise) {
    QWidget window;
    window.showMinimized();
    SingleInstance::bringToFront(&window);
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());

    window.setWindowState(Qt::WindowMaximized | Qt::WindowMinimized);
    SingleInstance::bringToFront(&window);
    EXPECT_EQ(window.windowState(), Qt::WindowMaximized);
    SingleInstance::bringToFront(nullptr);
}
