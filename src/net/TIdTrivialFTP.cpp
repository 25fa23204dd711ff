#include "TIdTrivialFTP.h"

#include "BlockingUdpSocket.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <system_error>
#include <thread>

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
// How often the caller's thread passes the progress on: often enough for a smooth bar, rarely enough that a
// fast transfer does not flood the window with repaints.
constexpr int ProgressIntervalMs = 10;

quint16 U16At(QByteArrayView packet, qsizetype offset) {
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

void TIdTrivialFTP::RunExchange(WorkMode mode, const std::function<void()>& exchange) {
    progress_.store(-1);
    qint64 shown = -1;
    const auto show = [this, mode, &shown] {
        const qint64 total = progress_.load(std::memory_order_relaxed);
        if (total >= 0 && total != shown) {
            shown = total;
            emit Work(mode, total);
        }
    };
    QEventLoop wait;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, &wait, show);
    ticker.start(ProgressIntervalMs);
    std::atomic<bool> finished = false;
    std::thread worker;
    try {
        worker = std::thread([&] {
            exchange();
            finished.store(true);
            QMetaObject::invokeMethod(&wait, &QEventLoop::quit, Qt::QueuedConnection);
        });
    } catch (const std::system_error& error) {
        Fail(ErrorKind::Network,
             QStringLiteral("cannot start the transfer: %1").arg(QString::fromLocal8Bit(error.what())));
        return;
    }
    // A loop that ends for another reason (the application quitting) runs again until the worker is done.
    while (!finished.load())
        wait.exec();
    worker.join();
    ticker.stop();
    show();
}

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
    socket_ = std::make_unique<BlockingUdpSocket>(MaxPacketSize);
    if (!socket_->Open())
        return Fail(ErrorKind::Network,
                    QStringLiteral("cannot open a UDP socket: %1").arg(socket_->ErrorText()));
    server_ = address.toIPv4Address();
    peer_ = server_;
    peerPort_ = settings_.Port;
    QByteArray request;
    AppendU16(request, opcode);
    request += remoteName.toLatin1() + '\0' + "octet" + '\0' + "blksize" + '\0' +
               QByteArray::number(settings_.RequestedBlockSize) + '\0';
    SendTo(request);
    return error_ == ErrorKind::None;
}

void TIdTrivialFTP::SendTo(const QByteArray& packet) {
    if (!socket_->SendTo(packet.constData(), packet.size(), peer_, peerPort_))
        Fail(ErrorKind::Network,
             QStringLiteral("cannot send to %1: %2").arg(ServerText(), socket_->ErrorText()));
}

std::optional<TIdTrivialFTP::Packet> TIdTrivialFTP::Receive(int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    int wait = timeoutMs;
    for (;;) {
        BlockingUdpSocket::Datagram datagram;
        switch (socket_->Receive(wait, &datagram)) {
        case BlockingUdpSocket::Wait::Received:
            // The server answers from a port of its own choosing, but always from its address: a packet from
            // any other host is no part of the transfer and must not redirect it.
            if (datagram.Sender == server_)
                return Packet{QByteArrayView(datagram.Data, datagram.Size), datagram.Sender, datagram.Port};
            wait = static_cast<int>(std::max<qint64>(0, deadline.remainingTime()));
            break;
        case BlockingUdpSocket::Wait::TimedOut:
            return std::nullopt;
        case BlockingUdpSocket::Wait::Failed:
            Fail(ErrorKind::Network,
                 QStringLiteral("cannot receive from %1: %2").arg(ServerText(), socket_->ErrorText()));
            return std::nullopt;
        }
    }
}

bool TIdTrivialFTP::TakeOptions(QByteArrayView packet) {
    const QList<QByteArray> fields =
        packet.sliced(std::min<qsizetype>(2, packet.size())).toByteArray().split('\0');
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

bool TIdTrivialFTP::FailFromPacket(QByteArrayView packet) {
    const quint16 code = U16At(packet, 2);
    const ErrorKind kind = code <= 8 ? static_cast<ErrorKind>(code) : ErrorKind::Generic;
    QByteArray text = packet.size() > 4 ? packet.sliced(4).toByteArray() : QByteArray();
    text.truncate(text.indexOf('\0') < 0 ? text.size() : text.indexOf('\0'));
    const QString message = QString::fromLatin1(text).trimmed();
    return Fail(kind, message.isEmpty() ? KindText(kind) : message);
}

void TIdTrivialFTP::SendError(quint16 code, const QString& message) {
    QByteArray packet = Header(ErrorPacket, code);
    packet += message.toLatin1() + '\0';
    socket_->SendTo(packet.constData(), packet.size(), peer_, peerPort_);
}

bool TIdTrivialFTP::Put(const QString& localFile, const QString& remoteName) {
    QFile file(localFile);
    if (!Begin(file, QIODevice::ReadOnly))
        return false;
    emit WorkBegin(WorkMode::Write, file.size() - file.pos());
    RunExchange(WorkMode::Write, [&] { PutBlocks(file, remoteName); });
    socket_.reset();
    emit WorkEnd(WorkMode::Write);
    return error_ == ErrorKind::None;
}

void TIdTrivialFTP::PutBlocks(QFile& file, const QString& remoteName) {
    if (!SendRequest(WriteRequest, remoteName))
        return;
    quint16 current = 0; // the block built last
    bool built = false;
    bool last = false;
    qint64 sent = 0;
    QByteArray data; // the current data packet, kept for a repeat
    while (error_ == ErrorKind::None) {
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
            current = static_cast<quint16>(current + 1);
            data = Header(DataPacket, current);
            data.resize(4 + blockSize_);
            const qint64 size = file.read(data.data() + 4, blockSize_);
            if (size < 0 || (size < blockSize_ && file.error() != QFileDevice::NoError)) {
                Fail(ErrorKind::LocalFile,
                     QStringLiteral("cannot read %1: %2").arg(file.fileName(), file.errorString()));
                break;
            }
            data.resize(4 + size);
            built = true;
            last = size < blockSize_;
            sent += size;
            progress_.store(sent, std::memory_order_relaxed);
        }
        SendTo(data);
    }
}

void TIdTrivialFTP::LingerForLastBlock(quint16 number) {
    // The server sends its last block again if our acknowledgement was lost. The file is complete already,
    // so the caller goes on while the socket stays a moment to acknowledge such a repeat, then closes.
    std::shared_ptr<BlockingUdpSocket> socket(std::move(socket_));
    auto* notifier = new QSocketNotifier(socket->Descriptor(), QSocketNotifier::Read);
    const QByteArray ack = Header(AckPacket, number);
    const quint32 peer = peer_;
    const quint16 port = peerPort_;
    connect(notifier, &QSocketNotifier::activated, notifier, [socket, ack, peer, port, number] {
        BlockingUdpSocket::Datagram datagram;
        while (socket->Receive(0, &datagram) == BlockingUdpSocket::Wait::Received) {
            const QByteArrayView data(datagram.Data, datagram.Size);
            if (U16At(data, 0) == DataPacket && U16At(data, 2) == number)
                socket->SendTo(ack.constData(), ack.size(), peer, port);
        }
    });
    QTimer::singleShot(std::min(settings_.LastBlockWaitMs, settings_.TimeoutMs), notifier,
                       &QObject::deleteLater);
}

bool TIdTrivialFTP::Get(const QString& remoteName, const QString& localFile) {
    QFile file(localFile);
    // Unbuffered, so that a block the disk cannot take fails when it is written, not silently at the close.
    if (!Begin(file, QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return false;
    emit WorkBegin(WorkMode::Read, 0);
    std::optional<quint16> last;
    RunExchange(WorkMode::Read, [&] { last = GetBlocks(file, remoteName); });
    if (last && error_ == ErrorKind::None)
        LingerForLastBlock(*last);
    socket_.reset();
    file.close();
    emit WorkEnd(WorkMode::Read);
    return error_ == ErrorKind::None;
}

std::optional<quint16> TIdTrivialFTP::GetBlocks(QFile& file, const QString& remoteName) {
    if (!SendRequest(ReadRequest, remoteName))
        return std::nullopt;
    quint16 stored = 0;
    bool last = false;
    qint64 received = 0;
    while (error_ == ErrorKind::None && !last) {
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
                const QByteArrayView data =
                    packet->Data.size() > 4 ? packet->Data.sliced(4) : QByteArrayView();
                if (file.write(data.data(), data.size()) != data.size()) {
                    const QString message =
                        QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
                    SendError(0, message);
                    Fail(ErrorKind::LocalFile, message);
                    break;
                }
                stored = number;
                received += data.size();
                last = data.size() < blockSize_;
                progress_.store(received, std::memory_order_relaxed);
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
                     .arg(QHostAddress(packet->Sender).toString())
                     .arg(packet->Port));
        }
    }
    return last && error_ == ErrorKind::None ? std::optional<quint16>(stored) : std::nullopt;
}

} // namespace olg
