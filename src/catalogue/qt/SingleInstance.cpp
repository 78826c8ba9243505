#include "catalogue/qt/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>
#include <algorithm>
#include <unistd.h>

namespace {

const QByteArray ShowRequest = "show\n";
constexpr int RetryMs = 50;

} // namespace

QString SingleInstance::serverName(const std::filesystem::path& appFolder) {
    std::error_code ec;
    const auto folder = std::filesystem::weakly_canonical(appFolder, ec);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArray::fromStdString((ec ? appFolder : folder).string()));
    hash.addData(QByteArray::number(static_cast<qulonglong>(::getuid())));
    // Short enough for a socket path in any temporary folder.
    return QStringLiteral("Brindle-") + QString::fromLatin1(hash.result().toHex().left(24));
}

bool SingleInstance::askToShow(const std::filesystem::path& appFolder, std::chrono::milliseconds timeout) {
    const QString name = serverName(appFolder);
    const QDeadlineTimer deadline(timeout);
    while (true) {
        QLocalSocket socket;
        socket.connectToServer(name);
        if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
            socket.write(ShowRequest);
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
    const QString name = serverName(appFolder);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(name);
    server_->listen(name);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
            readRequest(socket);
        }
    });
}

SingleInstance::~SingleInstance() = default;

void SingleInstance::readRequest(QLocalSocket* socket) {
    // One line per connection; anything longer than the request is not one.
    if (!socket->canReadLine() && socket->bytesAvailable() <= ShowRequest.size()) return;
    if (socket->readLine(ShowRequest.size() + 1) == ShowRequest) emit showRequested();
    socket->disconnectFromServer();
}

bool SingleInstance::listening() const {
    return server_->isListening();
}
