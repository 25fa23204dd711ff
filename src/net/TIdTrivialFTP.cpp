#include "TIdTrivialFTP.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QNetworkDatagram>
#include <QPointer>
#include <QTimer>
#include <QUdpSocket>

#include <algorithm>

namespace olg {

namespace {

enum Opcode : quint16 {
    ReadRequest = 1,
    WriteRequest = 2,
    DataPacket = 3,
    AckPacket = 4,
    ErrorPacket = 5,
    OptionAck = 6,
};

// The block sizes the option allows.
constexpr int MinBlockSize = 8;
constexpr int MaxBlockSize = 65464;
constexpr int DefaultBlockSize = 512;
constexpr qint64 MaxPacketSize = 4 + MaxBlockSize;

quint16 U16At(const QByteArray& packet, qsizetype offset) {
    if (packet.size() < offset + 2)
        return 0;
    return static_cast<quint16>((static_cast<quint8>(packet[offset]) << 8) |
                                static_cast<quint8>(packet[offset + 1]));
}

void AppendU16(QByteArray& packet, quint16 value) {
    packet.append(static_cast<char>(value >> 8));
    packet.append(static_cast<char>(value & 0xFF));
}

QByteArray Header(quint16 opcode, quint16 number) {
    QByteArray packet;
    AppendU16(packet, opcode);
    AppendU16(packet, number);
    return packet;
}

QString KindText(TIdTrivialFTP::ErrorKind kind) {
    switch (kind) {
    case TIdTrivialFTP::ErrorKind::FileNotFound:
        return QStringLiteral("File not found");
    case TIdTrivialFTP::ErrorKind::AccessViolation:
        return QStringLiteral("Access violation");
    case TIdTrivialFTP::ErrorKind::AllocationExceeded:
        return QStringLiteral("Disk full or allocation exceeded");
    case TIdTrivialFTP::ErrorKind::IllegalOperation:
        return QStringLiteral("Illegal TFTP operation");
    case TIdTrivialFTP::ErrorKind::UnknownTransferId:
        return QStringLiteral("Unknown transfer ID");
    case TIdTrivialFTP::ErrorKind::FileAlreadyExists:
        return QStringLiteral("File already exists");
    case TIdTrivialFTP::ErrorKind::NoSuchUser:
        return QStringLiteral("No such user");
    case TIdTrivialFTP::ErrorKind::OptionNegotiationFailed:
        return QStringLiteral("Option negotiation failed");
    default:
        return QStringLiteral("TFTP error");
    }
}

} // namespace

TIdTrivialFTP::TIdTrivialFTP(const TftpSettings& settings, QObject* parent)
    : QObject(parent), settings_(settings) {}

TIdTrivialFTP::~TIdTrivialFTP() = default;

bool TIdTrivialFTP::Fail(ErrorKind kind, const QString& text) {
    if (error_ == ErrorKind::None) {
        error_ = kind;
        errorText_ = text;
    }
    return false;
}

QString TIdTrivialFTP::ServerText() const {
    return QStringLiteral("TFTP server %1 port %2").arg(host_).arg(settings_.Port);
}

QString TIdTrivialFTP::TimeoutText() const {
    return QStringLiteral("%1 did not answer within %2 ms").arg(ServerText()).arg(settings_.TimeoutMs);
}

bool TIdTrivialFTP::Begin(QFile& file, QIODevice::OpenMode mode) {
    error_ = ErrorKind::None;
    errorText_.clear();
    blockSize_ = DefaultBlockSize;
    // A file that cannot be opened ends the transfer before any packet is sent.
    if (!file.open(mode))
        return Fail(ErrorKind::LocalFile,
                    QStringLiteral("cannot open %1: %2").arg(file.fileName(), file.errorString()));
    return true;
}

bool TIdTrivialFTP::SendRequest(quint16 opcode, const QString& remoteName) {
    const QHostAddress address(host_);
    if (address.protocol() != QAbstractSocket::IPv4Protocol)
        return Fail(ErrorKind::Network, QStringLiteral("\"%1\" is not an IPv4 address").arg(host_));
    // A fresh socket, so that the system chooses a new port: the transfer identity of this transfer.
    socket_ = std::make_unique<QUdpSocket>();
    if (!socket_->bind(QHostAddress(QHostAddress::AnyIPv4), 0))
        return Fail(ErrorKind::Network,
                    QStringLiteral("cannot open a UDP socket: %1").arg(socket_->errorString()));
    server_ = address;
    peer_ = address;
    peerPort_ = settings_.Port;
    QByteArray request;
    AppendU16(request, opcode);
    request += remoteName.toLatin1() + '\0' + "octet" + '\0' + "blksize" + '\0' +
               QByteArray::number(settings_.RequestedBlockSize) + '\0';
    SendTo(request);
    return error_ == ErrorKind::None;
}

void TIdTrivialFTP::SendTo(const QByteArray& packet) {
    if (socket_->writeDatagram(packet, peer_, peerPort_) < 0)
        Fail(ErrorKind::Network,
             QStringLiteral("cannot send to %1: %2").arg(ServerText(), socket_->errorString()));
}

std::optional<TIdTrivialFTP::Packet> TIdTrivialFTP::Receive(int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    QPointer<QUdpSocket> socket(socket_.get());
    // Made only when a packet is not there yet: on a fast link most are.
    std::unique_ptr<QEventLoop> wait;
    std::unique_ptr<QTimer> timer;
    for (;;) {
        if (socket && socket->hasPendingDatagrams()) {
            // A fixed bound spares asking the system for each datagram's size first.
            const QNetworkDatagram datagram = socket->receiveDatagram(MaxPacketSize);
            // The server answers from a port of its own choosing, but always from its address: a packet from
            // any other host is no part of the transfer and must not redirect it.
            if (datagram.isValid() &&
                datagram.senderAddress().isEqual(server_, QHostAddress::ConvertV4MappedToIPv4))
                return Packet{datagram.data(), datagram.senderAddress(),
                              static_cast<quint16>(datagram.senderPort())};
            continue;
        }
        if (!socket || deadline.hasExpired())
            return std::nullopt;
        if (!wait) {
            wait = std::make_unique<QEventLoop>();
            timer = std::make_unique<QTimer>();
            timer->setSingleShot(true);
            connect(timer.get(), &QTimer::timeout, wait.get(), &QEventLoop::quit);
            connect(socket.data(), &QUdpSocket::readyRead, wait.get(), &QEventLoop::quit);
        }
        // The event loop runs while we wait: progress repaints and the window answers.
        timer->start(static_cast<int>(std::max<qint64>(0, deadline.remainingTime())));
        wait->exec();
    }
}

bool TIdTrivialFTP::TakeOptions(const QByteArray& packet) {
    const QList<QByteArray> fields = packet.mid(2).split('\0');
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        if (fields[i].toLower() != "blksize")
            continue;
        bool ok = false;
        const int size = fields[i + 1].toInt(&ok);
        // A size outside the option's range is no answer to our offer: keep 512.
        if (ok && size >= MinBlockSize && size <= MaxBlockSize)
            blockSize_ = size;
        return true;
    }
    return false;
}

bool TIdTrivialFTP::FailFromPacket(const QByteArray& packet) {
    const quint16 code = U16At(packet, 2);
    const ErrorKind kind = code <= 8 ? static_cast<ErrorKind>(code) : ErrorKind::Generic;
    QByteArray text = packet.mid(4);
    text.truncate(text.indexOf('\0') < 0 ? text.size() : text.indexOf('\0'));
    const QString message = QString::fromLatin1(text).trimmed();
    return Fail(kind, message.isEmpty() ? KindText(kind) : message);
}

void TIdTrivialFTP::SendError(quint16 code, const QString& message) {
    QByteArray packet = Header(ErrorPacket, code);
    packet += message.toLatin1() + '\0';
    socket_->writeDatagram(packet, peer_, peerPort_);
}

bool TIdTrivialFTP::Put(const QString& localFile, const QString& remoteName) {
    QFile file(localFile);
    if (!Begin(file, QIODevice::ReadOnly))
        return false;
    emit WorkBegin(WorkMode::Write, file.size() - file.pos());

    bool done = SendRequest(WriteRequest, remoteName);
    quint16 current = 0; // the block built last
    bool built = false;
    bool last = false;
    qint64 sent = 0;
    QByteArray data;
    while (done && error_ == ErrorKind::None) {
        const std::optional<Packet> packet = Receive(settings_.TimeoutMs);
        if (!packet) {
            // A server that never acknowledges the last block has it all the same.
            if (error_ == ErrorKind::None && !last)
                Fail(ErrorKind::Timeout, TimeoutText());
            break;
        }
        peer_ = packet->Sender;
        peerPort_ = packet->Port;
        quint16 due = static_cast<quint16>(current + 1);
        const quint16 opcode = U16At(packet->Data, 0);
        if (opcode == AckPacket) {
            const quint16 number = U16At(packet->Data, 2);
            // Only the acknowledgement of the last block itself completes the put; an older one asks again.
            if (last && number == current)
                break;
            due = static_cast<quint16>(number + 1);
        } else if (opcode == OptionAck) {
            if (!built)
                TakeOptions(packet->Data);
        } else if (opcode == ErrorPacket) {
            FailFromPacket(packet->Data);
            break;
        }
        if (!built || (!last && due == static_cast<quint16>(current + 1))) {
            data = file.read(blockSize_);
            if (data.size() < blockSize_ && file.error() != QFileDevice::NoError) {
                Fail(ErrorKind::LocalFile,
                     QStringLiteral("cannot read %1: %2").arg(localFile, file.errorString()));
                break;
            }
            current = static_cast<quint16>(current + 1);
            built = true;
            last = data.size() < blockSize_;
            sent += data.size();
            emit Work(WorkMode::Write, sent);
        }
        SendTo(Header(DataPacket, current) + data);
    }
    socket_.reset();
    emit WorkEnd(WorkMode::Write);
    return error_ == ErrorKind::None;
}

void TIdTrivialFTP::LingerForLastBlock(quint16 number) {
    // The server sends its last block again if our acknowledgement was lost. The file is complete already,
    // so the caller goes on while the socket stays a moment to acknowledge such a repeat, then closes.
    QUdpSocket* socket = socket_.release();
    const QByteArray ack = Header(AckPacket, number);
    const QHostAddress peer = peer_;
    const quint16 port = peerPort_;
    connect(socket, &QUdpSocket::readyRead, socket, [socket, ack, peer, port, number] {
        while (socket->hasPendingDatagrams()) {
            const QByteArray data = socket->receiveDatagram().data();
            if (U16At(data, 0) == DataPacket && U16At(data, 2) == number)
                socket->writeDatagram(ack, peer, port);
        }
    });
    QTimer::singleShot(std::min(settings_.LastBlockWaitMs, settings_.TimeoutMs), socket,
                       &QObject::deleteLater);
}

bool TIdTrivialFTP::Get(const QString& remoteName, const QString& localFile) {
    QFile file(localFile);
    // Unbuffered, so that a block the disk cannot take fails when it is written, not silently at the close.
    if (!Begin(file, QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return false;
    emit WorkBegin(WorkMode::Read, 0);

    bool done = SendRequest(ReadRequest, remoteName);
    quint16 stored = 0;
    bool last = false;
    qint64 received = 0;
    while (done && error_ == ErrorKind::None && !last) {
        const std::optional<Packet> packet = Receive(settings_.TimeoutMs);
        if (!packet) {
            if (error_ == ErrorKind::None)
                Fail(ErrorKind::Timeout, TimeoutText());
            break;
        }
        peer_ = packet->Sender;
        peerPort_ = packet->Port;
        const quint16 opcode = U16At(packet->Data, 0);
        if (opcode == DataPacket) {
            const quint16 number = U16At(packet->Data, 2);
            const quint16 age = static_cast<quint16>(stored - number);
            if (number == static_cast<quint16>(stored + 1)) {
                const QByteArray data = packet->Data.mid(4);
                if (file.write(data) != data.size()) {
                    const QString message =
                        QStringLiteral("cannot write %1: %2").arg(localFile, file.errorString());
                    SendError(0, message);
                    Fail(ErrorKind::LocalFile, message);
                    break;
                }
                stored = number;
                received += data.size();
                last = data.size() < blockSize_;
                emit Work(WorkMode::Read, received);
            } else if (age >= 0x8000) {
                // A block beyond the next one would leave a hole in the file: it is not acknowledged, so
                // the server sends the missing one again.
                continue;
            }
            SendTo(Header(AckPacket, number));
        } else if (opcode == OptionAck) {
            if (stored == 0)
                TakeOptions(packet->Data);
            SendTo(Header(AckPacket, 0));
        } else if (opcode == ErrorPacket) {
            FailFromPacket(packet->Data);
        } else {
            Fail(ErrorKind::UnexpectedOperation,
                 QStringLiteral("unexpected TFTP operation %1 from %2 port %3")
                     .arg(opcode)
                     .arg(packet->Sender.toString())
                     .arg(packet->Port));
        }
    }
    if (last && error_ == ErrorKind::None)
        LingerForLastBlock(stored);
    socket_.reset();
    file.close();
    emit WorkEnd(WorkMode::Read);
    return error_ == ErrorKind::None;
}

} // namespace olg
