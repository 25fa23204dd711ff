#include "LocalSocketInstance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace olg {

namespace {

constexpr int AskTimeoutMs = 2000;
constexpr int LockTimeoutMs = 3000;
const QByteArray ActivateMessage("activate\n");

QString RuntimeFolder() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

} // namespace

LocalSocketInstance::LocalSocketInstance(const QString& key, QObject* parent)
    : SingleInstance(parent), socketPath_(QDir(RuntimeFolder()).filePath(key + QStringLiteral(".socket"))),
      lock_(QDir(RuntimeFolder()).filePath(key + QStringLiteral(".lock"))) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &LocalSocketInstance::OnNewConnection);
}

LocalSocketInstance::~LocalSocketInstance() {
    server_.close();
}

bool LocalSocketInstance::Claim() {
    // Two starts at the same moment: the lock lets one of them through; the other then finds it listening.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (lock_.tryLock(attempt == 0 ? 0 : LockTimeoutMs)) {
            QLocalServer::removeServer(socketPath_);
            // Without the socket the program still runs, only unable to hear later starts.
            server_.listen(socketPath_);
            return true;
        }
        if (AskRunningInstance())
            return false;
    }
    // The holder of the lock answers nobody (it may be starting or hung): do not start a second instance
    // over it.
    return false;
}

bool LocalSocketInstance::AskRunningInstance() {
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(AskTimeoutMs))
        return false;
    socket.write(ActivateMessage);
    const bool sent = socket.waitForBytesWritten(AskTimeoutMs);
    socket.disconnectFromServer();
    return sent;
}

void LocalSocketInstance::OnNewConnection() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->readAll().contains(ActivateMessage.trimmed()))
                emit ActivationRequested();
        });
    }
}

} // namespace olg
