#include "TIdTrivialFTP.h"

#include "TftpGet.h"
#include "TftpPut.h"

#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <climits>
#include <system_error>

namespace olg {

namespace {

using Clock = std::chrono::steady_clock;

// How often the caller's thread passes the progress on: often enough for a smooth bar, rarely enough that a
// fast transfer does not flood the window with repaints.
constexpr int ProgressIntervalMs = 10;

std::int64_t MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

bool SendTo(BlockingUdpSocket& socket, const TftpPacket::Bytes& packet, quint32 address, quint16 port) {
    return socket.SendTo(reinterpret_cast<const char*>(packet.data()), static_cast<qsizetype>(packet.size()),
                         address, port);
}

QString KindText(TIdTrivialFTP::ErrorKind kind) {
    switch (kind) {
    case TIdTrivialFTP::ErrorKind::FileNotFound:
        return TIdTrivialFTP::tr("File not found");
    case TIdTrivialFTP::ErrorKind::AccessViolation:
        return TIdTrivialFTP::tr("Access violation");
    case TIdTrivialFTP::ErrorKind::AllocationExceeded:
        return TIdTrivialFTP::tr("Disk full or allocation exceeded");
    case TIdTrivialFTP::ErrorKind::IllegalOperation:
        return TIdTrivialFTP::tr("Illegal TFTP operation");
    case TIdTrivialFTP::ErrorKind::UnknownTransferId:
        return TIdTrivialFTP::tr("Unknown transfer ID");
    case TIdTrivialFTP::ErrorKind::FileAlreadyExists:
        return TIdTrivialFTP::tr("File already exists");
    case TIdTrivialFTP::ErrorKind::NoSuchUser:
        return TIdTrivialFTP::tr("No such user");
    case TIdTrivialFTP::ErrorKind::OptionNegotiationFailed:
        return TIdTrivialFTP::tr("Option negotiation failed");
    default:
        return TIdTrivialFTP::tr("TFTP error");
    }
}

} // namespace

TIdTrivialFTP::TIdTrivialFTP(const TftpSettings& settings, QObject* parent)
    : QObject(parent), settings_(settings) {}

TIdTrivialFTP::~TIdTrivialFTP() {
    workers_.clear();
}

bool TIdTrivialFTP::Fail(ErrorKind kind, const QString& text) {
    if (error_ == ErrorKind::None) {
        error_ = kind;
        errorText_ = text;
    }
    return false;
}

QString TIdTrivialFTP::ServerText() const {
    return tr("TFTP server %1 port %2").arg(host_).arg(settings_.Port);
}

bool TIdTrivialFTP::Begin(QFile& file, QIODevice::OpenMode mode, quint32* server) {
    error_ = ErrorKind::None;
    errorText_.clear();
    blockSize_ = TftpPacket::DefaultBlockSize;
    const QHostAddress address(host_);
    if (address.protocol() != QAbstractSocket::IPv4Protocol)
        return Fail(ErrorKind::Network, tr("\"%1\" is not an IPv4 address").arg(host_));
    *server = address.toIPv4Address();
    // A file that cannot be opened ends the transfer before any packet is sent.
    if (!file.open(mode))
        return Fail(ErrorKind::LocalFile, tr("cannot open %1: %2").arg(file.fileName(), file.errorString()));
    return true;
}

void TIdTrivialFTP::Run(WorkMode mode, const std::shared_ptr<TftpTransfer>& transfer,
                        const FileStep& fileStep) {
    // Workers of earlier gets that are done go; the others keep their sockets a moment longer.
    std::erase_if(workers_, [](const std::future<void>& worker) {
        return worker.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    });
    // A fresh socket, so that the system chooses a new port: the transfer identity of this transfer.
    auto socket = std::make_shared<BlockingUdpSocket>(TftpPacket::MaxSize);
    if (!socket->Open()) {
        Fail(ErrorKind::Network, tr("cannot open a UDP socket: %1").arg(socket->ErrorText()));
        return;
    }
    progress_.store(-1);
    released_.store(false);
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
    const Clock::time_point start = Clock::now();
    try {
        workers_.push_back(std::async(std::launch::async, [this, socket, transfer, &fileStep, start, mode] {
            if (SendTo(*socket, transfer->Outgoing(), transfer->DestinationAddress(),
                       transfer->DestinationPort()))
                Exchange(*socket, *transfer, start, &fileStep);
            else
                Fail(ErrorKind::Network, tr("cannot send to %1: %2").arg(ServerText(), socket->ErrorText()));
            TakeOutcome(*transfer, mode);
            const bool stay = error_ == ErrorKind::None && transfer->Result() == TftpTransfer::State::Running;
            released_.store(true);
            // The client outlives its workers (its destructor waits for them), so it can take the event.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (waiting_)
                        waiting_->quit();
                },
                Qt::QueuedConnection);
            // The caller goes on; from here on nothing of it is touched.
            if (stay)
                Exchange(*socket, *transfer, start, nullptr);
        }));
    } catch (const std::system_error& error) {
        Fail(ErrorKind::Network,
             tr("cannot start the transfer: %1").arg(QString::fromLocal8Bit(error.what())));
        return;
    }
    // A loop that ends for another reason (the application quitting) runs again until the worker lets go.
    waiting_ = &wait;
    while (!released_.load())
        wait.exec();
    waiting_ = nullptr;
    ticker.stop();
    show();
}

bool TIdTrivialFTP::Exchange(BlockingUdpSocket& socket, TftpTransfer& transfer, Clock::time_point start,
                             const FileStep* fileStep) {
    while (transfer.Result() == TftpTransfer::State::Running && (!fileStep || !transfer.Complete())) {
        const std::int64_t wait = std::clamp<std::int64_t>(transfer.WakeAt() - MsSince(start), 0, INT_MAX);
        BlockingUdpSocket::Datagram datagram;
        TftpTransfer::Action action = TftpTransfer::Action::Wait;
        switch (socket.Receive(static_cast<int>(wait), &datagram)) {
        case BlockingUdpSocket::Wait::Received:
            action = transfer.OnPacket(reinterpret_cast<const std::uint8_t*>(datagram.Data),
                                       static_cast<std::size_t>(datagram.Size), datagram.Sender,
                                       datagram.Port, MsSince(start));
            break;
        case BlockingUdpSocket::Wait::TimedOut:
            action = transfer.OnTimeout(MsSince(start));
            break;
        case BlockingUdpSocket::Wait::Failed:
            return fileStep && Fail(ErrorKind::Network,
                                    tr("cannot receive from %1: %2").arg(ServerText(), socket.ErrorText()));
        }
        if (action == TftpTransfer::Action::Wait)
            continue;
        if (action == TftpTransfer::Action::Fill || action == TftpTransfer::Action::Store) {
            if (!fileStep)
                return false;
            if (!(*fileStep)(datagram)) {
                // The server learns why its block was not taken.
                if (action == TftpTransfer::Action::Store)
                    SendTo(socket, TftpPacket::ErrorPacket(0, errorText_.toLatin1().toStdString()),
                           transfer.DestinationAddress(), transfer.DestinationPort());
                return false;
            }
        }
        if (!SendTo(socket, transfer.Outgoing(), transfer.DestinationAddress(), transfer.DestinationPort()))
            return fileStep && Fail(ErrorKind::Network,
                                    tr("cannot send to %1: %2").arg(ServerText(), socket.ErrorText()));
    }
    return true;
}

void TIdTrivialFTP::TakeOutcome(const TftpTransfer& transfer, WorkMode mode) {
    blockSize_ = transfer.BlockSize();
    if (transfer.Result() != TftpTransfer::State::Failed)
        return;
    const ErrorKind kind = transfer.Error();
    switch (kind) {
    case ErrorKind::Timeout:
        if (!transfer.Answered())
            Fail(kind, tr("%1 did not answer within %2 ms").arg(ServerText()).arg(settings_.TimeoutMs));
        else
            Fail(kind, (mode == WorkMode::Write ? tr("%1 did not acknowledge block %2 within %3 ms")
                                                : tr("%1 did not send block %2 within %3 ms"))
                           .arg(ServerText())
                           .arg(transfer.AwaitedBlock())
                           .arg(settings_.TimeoutMs));
        break;
    case ErrorKind::TooSlow:
        Fail(kind, tr("%1 did not complete the transfer in the time its size allows").arg(ServerText()));
        break;
    case ErrorKind::TooLong:
        Fail(kind, tr("%1 sent more than the %2 bytes expected").arg(ServerText()).arg(maxBytes_));
        break;
    case ErrorKind::UnexpectedOperation:
        Fail(kind, tr("unexpected TFTP operation %1 from %2 port %3")
                       .arg(transfer.LastOpcode())
                       .arg(host_)
                       .arg(transfer.PeerPort()));
        break;
    default: {
        const QString text = QString::fromStdString(transfer.ServerText());
        Fail(kind, text.isEmpty() ? KindText(kind) : text);
    }
    }
}

bool TIdTrivialFTP::Put(const QString& localFile, const QString& remoteName) {
    QFile file(localFile);
    quint32 server = 0;
    if (!Begin(file, QIODevice::ReadOnly, &server))
        return false;
    const qint64 size = file.size() - file.pos();
    emit WorkBegin(WorkMode::Write, size);
    const auto put =
        std::make_shared<TftpPut>(remoteName.toLatin1().toStdString(), size, settings_.RequestedBlockSize,
                                  server, settings_.Port, settings_, 0);
    Run(WorkMode::Write, put, [&](const BlockingUdpSocket::Datagram&) {
        const qint64 read = file.read(reinterpret_cast<char*>(put->BlockSpace()), put->BlockSize());
        if (read < 0 || (read < put->BlockSize() && file.error() != QFileDevice::NoError))
            return Fail(ErrorKind::LocalFile,
                        tr("cannot read %1: %2").arg(file.fileName(), file.errorString()));
        put->BlockRead(static_cast<std::size_t>(read));
        progress_.store(put->BytesSent(), std::memory_order_relaxed);
        return true;
    });
    emit WorkEnd(WorkMode::Write);
    return error_ == ErrorKind::None;
}

bool TIdTrivialFTP::Get(const QString& remoteName, const QString& localFile, qint64 maxBytes) {
    QFile file(localFile);
    quint32 server = 0;
    // Unbuffered, so that a block the disk cannot take fails when it is written, not silently at the close.
    if (!Begin(file, QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered, &server))
        return false;
    emit WorkBegin(WorkMode::Read, 0);
    maxBytes_ = maxBytes;
    const auto get =
        std::make_shared<TftpGet>(remoteName.toLatin1().toStdString(), maxBytes, settings_.RequestedBlockSize,
                                  server, settings_.Port, settings_, 0);
    Run(WorkMode::Read, get, [&](const BlockingUdpSocket::Datagram& packet) {
        const qint64 size = packet.Size - 4;
        if (file.write(packet.Data + 4, size) != size)
            return Fail(ErrorKind::LocalFile,
                        tr("cannot write %1: %2").arg(file.fileName(), file.errorString()));
        progress_.store(get->BytesStored(), std::memory_order_relaxed);
        return true;
    });
    file.close();
    emit WorkEnd(WorkMode::Read);
    return error_ == ErrorKind::None;
}

} // namespace olg
