#include "catalogue/qt/SingleInstance.h"

#include "catalogue/qt/CatalogueLog.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QUrl>
#include <QWidget>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

const QByteArray ShowRequest = "show\n";
const QByteArray OpenRequest = "open ";
// A file's line is longer than any path a file system takes, encoded.
constexpr qint64 MaxLineBytes = 16 * 1024;
const char* const ShownProperty = "brindleShown";
constexpr int RetryMs = 50;

// The folders where the socket may live, best first.
std::vector<fs::path> socketFolders() {
    const std::string uid = std::to_string(::getuid());
    std::vector<fs::path> folders;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && runtime[0] == '/')
        folders.emplace_back(runtime);
    for (const fs::path& folder : {fs::path("/run/user") / uid, fs::path("/tmp/brindle-" + uid)})
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
    return folders;
}

// The folder that Brindle makes itself when the others are missing.
bool ownFolder(const fs::path& folder) {
    return folder == fs::path("/tmp/brindle-" + std::to_string(::getuid()));
}

// Why folder cannot hold the socket; empty when it is a folder (not a link) of this user that no
// one else can enter. missing is set when there is nothing at all.
std::string folderProblem(const fs::path& folder, bool* missing = nullptr) {
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) {
        if (missing) *missing = errno == ENOENT;
        return std::strerror(errno);
    }
    if (!S_ISDIR(info.st_mode)) return "it is not a folder";
    if (info.st_uid != ::getuid()) return "another user owns it";
    if ((info.st_mode & 077) != 0) return "other users can enter it";
    return {};
}

// Whether the socket file at path, when there is one, is this user's (another user's socket in
// our folder can only come from someone with more rights).
bool foreignSocket(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && info.st_uid != ::getuid();
}

// The user id of the process at the other end of a connected local socket, or -1.
long long peerUser(qintptr descriptor) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0)
        return -1;
    return credentials.uid;
}

void warn(const std::string& text) {
    qCWarning(catalogueLog, "%s", text.c_str());
}

} // namespace

QString SingleInstance::serverName(const std::filesystem::path& appFolder) {
    std::error_code ec;
    const auto folder = std::filesystem::weakly_canonical(appFolder, ec);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArray::fromStdString((ec ? appFolder : folder).string()));
    hash.addData(QByteArray::number(static_cast<qulonglong>(::getuid())));
    // Short enough for a socket path in any of the folders.
    return QStringLiteral("Brindle-") + QString::fromLatin1(hash.result().toHex().left(24));
}

bool SingleInstance::askToShow(const std::filesystem::path& appFolder, std::chrono::milliseconds timeout,
                               const std::vector<std::filesystem::path>& files) {
    const std::string name = serverName(appFolder).toStdString();
    QByteArray request = ShowRequest;
    for (const fs::path& file : files)
        request +=
            OpenRequest + QUrl::fromLocalFile(QString::fromStdString(file.string())).toEncoded() + '\n';
    const QDeadlineTimer deadline(timeout);
    for (bool first = true;; first = false) {
        for (const fs::path& folder : socketFolders()) {
            bool missing = false;
            if (const std::string problem = folderProblem(folder, &missing); !problem.empty()) {
                if (first && !missing)
                    warn("not looking for the running instance in " + folder.string() + ": " + problem);
                continue;
            }
            const fs::path path = folder / name;
            if (foreignSocket(path)) {
                if (first) warn("not using the socket " + path.string() + ": another user owns it");
                continue;
            }
            QLocalSocket socket;
            socket.connectToServer(QString::fromStdString(path.string()));
            // Nothing listens there (not yet, or a socket left by a crash): refused at once.
            if (!socket.waitForConnected(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 0))))
                continue;
            if (peerUser(socket.socketDescriptor()) != ::getuid()) {
                warn("not asking the instance behind " + path.string() + ": another user runs it");
                socket.abort();
                continue;
            }
            socket.write(request);
            const bool sent =
                socket.waitForBytesWritten(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 100)));
            socket.disconnectFromServer();
            return sent;
        }
        // Not listening yet (the running instance is still starting) or not at all.
        if (deadline.remainingTime() <= RetryMs) return false;
        QThread::msleep(RetryMs);
    }
}

void SingleInstance::bringToFront(QWidget* window) {
    if (!window) return;
    if (window->isMinimized()) window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

SingleInstance::SingleInstance(const std::filesystem::path& appFolder, QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)) {
    const std::string name = serverName(appFolder).toStdString();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    for (const fs::path& folder : socketFolders()) {
        if (ownFolder(folder)) ::mkdir(folder.c_str(), 0700); // kept when it is there already
        bool missing = false;
        if (const std::string problem = folderProblem(folder, &missing); !problem.empty()) {
            if (!missing) warn("not using " + folder.string() + " for the instance socket: " + problem);
            continue;
        }
        const fs::path path = folder / name;
        if (foreignSocket(path)) {
            warn("not using the socket " + path.string() + ": another user owns it");
            continue;
        }
        const QString socket = QString::fromStdString(path.string());
        QLocalServer::removeServer(socket);
        if (server_->listen(socket)) break;
        warn("cannot listen on " + path.string() + ": " + server_->errorString().toStdString());
    }
    if (!server_->isListening())
        warn("no socket for the instance: a second start cannot bring this window to the front");
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            if (const long long user = peerUser(socket->socketDescriptor()); user != ::getuid()) {
                warn("refused a request from user " + std::to_string(user));
                socket->abort();
                socket->deleteLater();
                continue;
            }
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
            readRequest(socket);
        }
    });
}

SingleInstance::~SingleInstance() = default;

void SingleInstance::readRequest(QLocalSocket* socket) {
    // The show line, then file lines, until the sender hangs up; anything else ends the connection.
    while (socket->canReadLine()) {
        const QByteArray line = socket->readLine(MaxLineBytes + 1);
        const bool shown = socket->property(ShownProperty).toBool();
        if (!shown && line == ShowRequest) {
            socket->setProperty(ShownProperty, true);
            emit showRequested();
            continue;
        }
        const bool fileLine = shown && line.startsWith(OpenRequest) && line.endsWith('\n');
        const QUrl file =
            fileLine ? QUrl::fromEncoded(line.mid(OpenRequest.size()).chopped(1), QUrl::StrictMode) : QUrl();
        if (!file.isLocalFile()) {
            socket->disconnectFromServer();
            return;
        }
        emit fileRequested(file.toLocalFile());
    }
    if (socket->bytesAvailable() > MaxLineBytes) socket->disconnectFromServer();
}

bool SingleInstance::listening() const {
    return server_->isListening();
}

QString SingleInstance::socketPath() const {
    return server_->fullServerName();
}
