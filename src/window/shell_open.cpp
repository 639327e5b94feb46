#include "window/shell_open.h"

#include <QLocalSocket>
#include <QStandardPaths>

#include "core/app/single_instance.h"

namespace vk930 {

namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kWriteTimeoutMs = 2000;
constexpr qint64 kMaxRequestBytes = 64 * 1024;  // a path, with room to spare

}  // namespace

QString ShellOpenSocketPath(const QString& settingsPath) {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + "/" +
           QString::fromStdString(InstanceName(settingsPath.toStdString())) + ".sock";
}

bool HandToRunningWindow(const QString& socketPath, const QString& file) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
    socket.write(file.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(kWriteTimeoutMs)) return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(kWriteTimeoutMs);
    return true;
}

// The runtime folder is the user's own (mode 0700): the socket needs no access options.
ShellOpenServer::ShellOpenServer(QObject* parent) : QObject(parent) {
    connect(&server_, &QLocalServer::newConnection, this, &ShellOpenServer::OnNewConnection);
}

bool ShellOpenServer::Listen(const QString& socketPath) {
    // Asked first, so that a second window never takes over the first one's socket.
    QLocalSocket probe;
    probe.connectToServer(socketPath);
    if (probe.waitForConnected(kConnectTimeoutMs)) return false;  // another window has it
    QLocalServer::removeServer(socketPath);  // left behind by a program that has ended
    return server_.listen(socketPath);
}

void ShellOpenServer::OnNewConnection() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->bytesAvailable() > kMaxRequestBytes) {
                socket->abort();
                return;
            }
            // Opened from the event loop, not from inside this socket's handler: an open may
            // show a message box, and the socket may go away meanwhile.
            while (socket->canReadLine()) {
                const QString path = QString::fromUtf8(socket->readLine()).chopped(1);
                if (path.isEmpty()) continue;
                QMetaObject::invokeMethod(
                    this, [this, path] { emit openRequested(path); }, Qt::QueuedConnection);
            }
        });
    }
}

}  // namespace vk930
