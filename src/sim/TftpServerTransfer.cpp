#include "TftpServerTransfer.h"

#include <QNetworkDatagram>

namespace olg::sim {

namespace {

constexpr int ResendMs = 1000;
constexpr int MaxTries = 5;
// How long a finished transfer stays to answer a repeated last packet.
constexpr int DallyMs = 2000;

quint16 U16At(const QByteArray& packet, qsizetype offset) {
    if (packet.size() < offset + 2)
        return 0;
    return static_cast<quint16>((static_cast<quint8>(packet[offset]) << 8) |
                                static_cast<quint8>(packet[offset + 1]));
}

QByteArray Packet(quint16 opcode, quint16 number) {
    QByteArray packet;
    packet.append(static_cast<char>(opcode >> 8));
    packet.append(static_cast<char>(opcode & 0xFF));
    packet.append(static_cast<char>(number >> 8));
    packet.append(static_cast<char>(number & 0xFF));
    return packet;
}

QByteArray ErrorPacket(quint16 code, const char* message) {
    return Packet(5, code) + QByteArray(message) + '\0';
}

} // namespace

TftpServerTransfer::TftpServerTransfer(const Request& request, const QHostAddress& local,
                                       const DeviceFaults& faults, DeviceFiles& files, QObject* parent)
    : QObject(parent), request_(request), faults_(faults), files_(files) {
    resend_.setInterval(ResendMs);
    connect(&resend_, &QTimer::timeout, this, &TftpServerTransfer::Resend);
    if (!socket_.bind(local, 0)) {
        deleteLater();
        return;
    }
    connect(&socket_, &QUdpSocket::readyRead, this, &TftpServerTransfer::ReadPending);
    if (faults_.TftpError) {
        Send(ErrorPacket(3, "Flash memory full"));
        Finish();
        return;
    }
    if (request_.FileName != "/") {
        Send(request_.Write ? ErrorPacket(2, "Only / can be written") : ErrorPacket(1, "File not found"));
        Finish();
        return;
    }
    if (!request_.Write) {
        image_ = files_.Image;
        // One byte changed in the middle: what a flash that failed to program reads back.
        if (faults_.TftpCorrupt && !image_.isEmpty())
            image_[image_.size() / 2] = static_cast<char>(image_[image_.size() / 2] ^ 0x01);
    }
    if (request_.BlockSizeOffered) {
        Send(Packet(6, 0).left(2) + "blksize" + '\0' + QByteArray::number(request_.BlockSize) + '\0');
        return;
    }
    if (request_.Write)
        Send(Packet(4, 0));
    else
        SendBlock();
}

void TftpServerTransfer::Send(const QByteArray& packet) {
    last_ = packet;
    tries_ = 0;
    socket_.writeDatagram(packet, request_.Client, request_.ClientPort);
    if (!done_)
        resend_.start();
}

void TftpServerTransfer::Resend() {
    if (++tries_ > MaxTries) {
        deleteLater();
        return;
    }
    socket_.writeDatagram(last_, request_.Client, request_.ClientPort);
}

void TftpServerTransfer::Finish() {
    done_ = true;
    resend_.stop();
    QTimer::singleShot(DallyMs, this, &QObject::deleteLater);
}

void TftpServerTransfer::ReadPending() {
    while (socket_.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket_.receiveDatagram();
        if (!datagram.isValid())
            break;
        if (datagram.senderPort() != request_.ClientPort) {
            socket_.writeDatagram(ErrorPacket(5, "Unknown transfer ID"), datagram.senderAddress(),
                                  static_cast<quint16>(datagram.senderPort()));
            continue;
        }
        OnPacket(datagram.data());
    }
}

void TftpServerTransfer::SendBlock() {
    // Counted apart from the 16-bit block number, which wraps on images of more than 65535 blocks.
    const qint64 offset = blocksSent_ * request_.BlockSize;
    ++blocksSent_;
    block_ = static_cast<quint16>(block_ + 1);
    if (faults_.TftpEndless && !image_.isEmpty()) {
        QByteArray data;
        while (data.size() < request_.BlockSize)
            data += image_.mid((offset + data.size()) % image_.size(), request_.BlockSize - data.size());
        Send(Packet(3, block_) + data);
        return;
    }
    Send(Packet(3, block_) + image_.mid(offset, request_.BlockSize));
}

void TftpServerTransfer::OnPacket(const QByteArray& packet) {
    const quint16 opcode = U16At(packet, 0);
    const quint16 number = U16At(packet, 2);
    if (opcode == 5) {
        deleteLater();
        return;
    }
    if (request_.Write && opcode == 3) {
        if (number == static_cast<quint16>(block_ + 1) && !done_) {
            const QByteArray data = packet.mid(4);
            received_ += data;
            block_ = number;
            if (data.size() < request_.BlockSize) {
                files_.Image = received_;
                files_.HasImage = true;
                Finish();
                emit ImageStored();
                if (faults_.TftpNoLastAck)
                    return;
            }
        }
        // A repeated block is acknowledged again without being stored twice.
        if (number == block_ && !(done_ && faults_.TftpNoLastAck))
            Send(Packet(4, number));
        return;
    }
    if (!request_.Write && opcode == 4 && number == block_ && !done_) {
        if (blocksSent_ > 0 && last_.size() - 4 < request_.BlockSize) {
            Finish();
            return;
        }
        SendBlock();
    }
}

} // namespace olg::sim
