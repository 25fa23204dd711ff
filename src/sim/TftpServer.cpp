#include "TftpServer.h"

#include "TftpServerTransfer.h"

#include <QNetworkDatagram>

namespace olg::sim {

namespace {

constexpr int MaxBlockSize = 65464;

} // namespace

TftpServer::TftpServer(const QHostAddress& address, quint16 port, const DeviceFaults& faults,
                       DeviceFiles& files, QObject* parent)
    : QObject(parent), address_(address), port_(port), faults_(faults), files_(files) {}

bool TftpServer::Start(QString* error) {
    if (!socket_.bind(address_, port_)) {
        *error = QStringLiteral("cannot serve TFTP on %1:%2: %3")
                     .arg(address_.toString())
                     .arg(port_)
                     .arg(socket_.errorString());
        return false;
    }
    connect(&socket_, &QUdpSocket::readyRead, this, &TftpServer::ReadRequests);
    return true;
}

void TftpServer::ReadRequests() {
    while (socket_.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket_.receiveDatagram();
        if (!datagram.isValid())
            break;
        const QByteArray data = datagram.data();
        if (faults_.TftpSilent || data.size() < 4 || data[0] != 0 || (data[1] != 1 && data[1] != 2))
            continue;
        // opcode, file name, mode, then option name / value pairs, each ended by a zero byte.
        const QList<QByteArray> fields = data.mid(2).split('\0');
        TftpServerTransfer::Request request;
        request.Write = data[1] == 2;
        request.FileName = fields.value(0);
        request.Client = datagram.senderAddress();
        request.ClientPort = static_cast<quint16>(datagram.senderPort());
        for (qsizetype i = 2; i + 1 < fields.size(); i += 2) {
            bool ok = false;
            const int size = fields[i + 1].toInt(&ok);
            if (fields[i].toLower() == "blksize" && ok && size >= 8) {
                request.BlockSize = std::min(size, MaxBlockSize);
                request.BlockSizeOffered = true;
            }
        }
        auto* transfer = new TftpServerTransfer(request, address_, faults_, files_, this);
        connect(transfer, &TftpServerTransfer::ImageStored, this, &TftpServer::ImageStored);
    }
}

} // namespace olg::sim
