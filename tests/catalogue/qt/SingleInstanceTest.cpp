#include "catalogue/qt/SingleInstance.h"

#include "TempDir.h"
#include "WaitUntil.h"

#include <QLocalSocket>
#include <QSignalSpy>
#include <QWidget>
#include <gtest/gtest.h>
#include <optional>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

using namespace std::chrono_literals;

namespace {

namespace fs = std::filesystem;

// What a crashed instance leaves behind: a socket file nobody listens on.
void leaveStaleSocket(const fs::path& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string text = path.string();
    ASSERT_LT(text.size(), sizeof address.sun_path);
    std::copy(text.begin(), text.end(), address.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

// Whether every connection the instance accepted has ended: its socket goes once it has been read
// to its end.
bool connectionsEnded(const SingleInstance& running) {
    return running.findChildren<QLocalSocket*>().isEmpty();
}

// Sends text to the running instance over a connection of its own, as another program could.
void sendRaw(const SingleInstance& running, const QByteArray& text) {
    QLocalSocket socket;
    socket.connectToServer(running.socketPath());
    ASSERT_TRUE(socket.waitForConnected(2000));
    socket.write(text);
    socket.waitForBytesWritten(2000);
    socket.disconnectFromServer();
}

// The tests' own runtime folder (mode 0700, as mkdtemp makes it), so that they never meet the
// sockets of Brindles that run meanwhile.
class SingleInstanceTest : public ::testing::Test {
  protected:
    SingleInstanceTest() { ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1); }
    ~SingleInstanceTest() override {
        if (saved)
            ::setenv("XDG_RUNTIME_DIR", saved->c_str(), 1);
        else
            ::unsetenv("XDG_RUNTIME_DIR");
    }

    std::optional<std::string> saved = [] {
        const char* value = std::getenv("XDG_RUNTIME_DIR");
        return value ? std::optional<std::string>(value) : std::nullopt;
    }();
    TempDir runtime, folder;
    fs::path socket = runtime.path() / SingleInstance::serverName(folder.path()).toStdString();
};

} // namespace

TEST_F(SingleInstanceTest, ALaterStartReachesTheRunningOneOfItsFolderOnlyWhateverItsTemporaryFolder) {
    TempDir other;
    EXPECT_EQ(SingleInstance::serverName(folder.path()), SingleInstance::serverName(folder.path() / "."));
    EXPECT_NE(SingleInstance::serverName(folder.path()), SingleInstance::serverName(other.path()));
    // Nobody runs yet: the request goes nowhere.
    EXPECT_FALSE(SingleInstance::askToShow(folder.path(), 200ms));

    ::setenv("TMPDIR", other.path().c_str(), 1);
    SingleInstance running(folder.path());
    ::unsetenv("TMPDIR");
    ASSERT_TRUE(running.listening());
    EXPECT_EQ(running.socketPath().toStdString(), socket.string());
    QSignalSpy requests(&running, &SingleInstance::showRequested);
    EXPECT_TRUE(SingleInstance::askToShow(folder.path(), 2000ms));
    EXPECT_TRUE(waitUntil([&] { return requests.count() == 1; }, 5000));
    EXPECT_FALSE(SingleInstance::askToShow(other.path(), 200ms));
    // A request of its folder after it: connections are taken in turn, so once that one has come
    // and every connection has ended, one from the other folder's start would have been read.
    EXPECT_TRUE(SingleInstance::askToShow(folder.path(), 2000ms));
    ASSERT_TRUE(waitUntil([&] { return requests.count() >= 2 && connectionsEnded(running); }, 5000));
    EXPECT_EQ(requests.count(), 2);
}

TEST_F(SingleInstanceTest, ASocketLeftByACrashNeverBlocksTheNextInstanceAndTheSocketGoesWithIt) {
    leaveStaleSocket(socket);
    EXPECT_FALSE(SingleInstance::askToShow(folder.path(), 100ms));
    {
        SingleInstance running(folder.path());
        ASSERT_TRUE(running.listening());
        QSignalSpy requests(&running, &SingleInstance::showRequested);
        EXPECT_TRUE(SingleInstance::askToShow(folder.path(), 2000ms));
        EXPECT_TRUE(waitUntil([&] { return requests.count() == 1; }, 5000));
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(socket)));
}

TEST_F(SingleInstanceTest, ARuntimeFolderOthersCanEnterOrOwnAndAnotherUsersSocketAreNeverUsed) {
    // Another place of this user is taken instead, which a later start finds too.
    fs::permissions(runtime.path(), fs::perms::others_exec, fs::perm_options::add);
    {
        SingleInstance running(folder.path());
        ASSERT_TRUE(running.listening());
        EXPECT_FALSE(running.socketPath().startsWith(QString::fromStdString(runtime.path().string())));
        QSignalSpy requests(&running, &SingleInstance::showRequested);
        EXPECT_TRUE(SingleInstance::askToShow(folder.path(), 2000ms));
        EXPECT_TRUE(waitUntil([&] { return requests.count() == 1; }, 5000));
    }
    fs::permissions(runtime.path(), fs::perms::owner_all, fs::perm_options::replace);
    if (::getuid() != 0) GTEST_SKIP() << "files of another user need root";

    // A socket that another user put in the folder stays as it is, unused.
    leaveStaleSocket(socket);
    ASSERT_EQ(::lchown(socket.c_str(), 65534, 65534), 0);
    {
        SingleInstance running(folder.path());
        EXPECT_NE(running.socketPath().toStdString(), socket.string());
        EXPECT_TRUE(fs::exists(fs::symlink_status(socket)));
    }
    fs::remove(socket);
    ASSERT_EQ(::chown(runtime.path().c_str(), 65534, 65534), 0);
    SingleInstance running(folder.path());
    EXPECT_FALSE(running.socketPath().startsWith(QString::fromStdString(runtime.path().string())));
}

TEST_F(SingleInstanceTest, AnythingButTheRequestShowsNothing) {
    SingleInstance running(folder.path());
    QSignalSpy requests(&running, &SingleInstance::showRequested);
    for (const QByteArray& text : {QByteArray("hello\n"), QByteArray("show"), QByteArray(4096, 'x')}) {
        sendRaw(running, text);
    }
    // A real request after them: connections are taken in turn, so once it has come and every
    // connection has ended, the others have been read to their ends too.
    ASSERT_TRUE(SingleInstance::askToShow(folder.path(), 2000ms));
    ASSERT_TRUE(waitUntil([&] { return requests.count() >= 1 && connectionsEnded(running); }, 5000));
    EXPECT_EQ(requests.count(), 1);
}

TEST_F(SingleInstanceTest, ALaterStartHandsOverItsFilesWhateverTheirNamesAndNothingElse) {
    SingleInstance running(folder.path());
    QSignalSpy shown(&running, &SingleInstance::showRequested);
    QSignalSpy files(&running, &SingleInstance::fileRequested);
    const std::vector<fs::path> sent = {"/游戏/a b.swf", "/x/line\nbreak%20#?.swf", "/y/z.SWF"};
    ASSERT_TRUE(SingleInstance::askToShow(folder.path(), 2000ms, sent));
    ASSERT_TRUE(waitUntil([&] { return files.count() == 3 && connectionsEnded(running); }, 5000));
    EXPECT_EQ(shown.count(), 1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(files.at(i).at(0).toString().toStdString(), sent[i].string());

    // A file line before the show line, or one naming no local file, ends the connection there.
    for (const QByteArray& text :
         {QByteArray("open file:///a.swf\nshow\n"),
          QByteArray("show\nopen http://host/a.swf\nopen file:///b.swf\n"), QByteArray("show\nopen a.swf\n"),
          QByteArray("show\nopen file:///c.swf")}) {
        sendRaw(running, text);
    }
    ASSERT_TRUE(SingleInstance::askToShow(folder.path(), 2000ms));
    ASSERT_TRUE(waitUntil([&] { return shown.count() >= 5 && connectionsEnded(running); }, 5000));
    EXPECT_EQ(files.count(), 3);
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
