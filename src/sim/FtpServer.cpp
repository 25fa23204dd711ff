#include "FtpServer.h"

#include "FtpServerSession.h"

namespace olg::sim {

FtpServer::FtpServer(const QHostAddress& address, quint16 port, const DeviceFaults& faults,
                     DeviceFiles& files, QObject* parent)
    : QObject(parent), address_(address), port_(port), faults_(faults), files_(files) {}

bool FtpServer::Start(QString* error) {
    if (!server_.listen(address_, port_)) {
        *error = QStringLiteral("cannot serve FTP on %1:%2: %3")
                     .arg(address_.toString())
                     .arg(port_)
                     .arg(server_.errorString());
        return false;
    }
    connect(&server_, &QTcpServer::newConnection, this, &FtpServer::Accept);
    return true;
}

void FtpServer::Accept() {
    while (QTcpSocket* control = server_.nextPendingConnection()) {
        auto* session = new FtpServerSession(control, faults_, files_, this);
        connect(session, &FtpServerSession::StoreChanged, this, &FtpServer::StoreChanged);
    }
}

} // namespace olg::sim
