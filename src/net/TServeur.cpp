#include "TServeur.h"

#include "Datagram.h"
#include "ErrorBox.h"
#include "IpText.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QHostAddress>
#include <QTimer>
#include <QVariant>

#include <sys/socket.h>

namespace olg {

namespace {

// Room for the replies of thousands of devices that answer one broadcast at the same moment.
constexpr int ReceiveBufferBytes = 16 * 1024 * 1024;
// The largest UDP payload over IPv4, so that no datagram is cut short.
constexpr qsizetype LargestDatagram = 65536;

void EnlargeReceiveBuffer(QUdpSocket& socket) {
    const qintptr descriptor = socket.socketDescriptor();
    if (descriptor < 0)
        return;
    const int size = ReceiveBufferBytes;
#ifdef SO_RCVBUFFORCE
    // The forced variant passes the system's ceiling when the program may; otherwise take what the ceiling
    // allows.
    if (setsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_RCVBUFFORCE, &size, sizeof size) == 0)
        return;
#endif
    socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, QVariant(size));
}

} // namespace

TServeur::TServeur(const DeviceRegistry& registry, Prompts& prompts, const ExchangeSettings& settings,
                   QObject* parent)
    : QObject(parent), registry_(registry), prompts_(prompts), settings_(settings),
      readBuffer_(LargestDatagram, Qt::Uninitialized) {
    if (socket_.bind(settings_.BindAddress, settings_.BindPort, QAbstractSocket::DontShareAddress)) {
        EnlargeReceiveBuffer(socket_);
    } else if (socket_.error() == QAbstractSocket::AddressInUseError) {
        bindError_ =
            QStringLiteral("UDP port %1 is already in use by another program").arg(settings_.BindPort);
    } else {
        bindError_ = QStringLiteral("cannot listen on UDP port %1: %2")
                         .arg(settings_.BindPort)
                         .arg(socket_.errorString());
    }
    connect(&socket_, &QUdpSocket::readyRead, this, &TServeur::OnReadyRead);
}

TServeur::~TServeur() {
    // A wait still running on the stack must not touch this object after it is gone.
    for (QEventLoop* wait : waits_)
        wait->exit();
}

quint16 TServeur::LocalPort() const {
    return socket_.localPort();
}

void TServeur::Register(QObject* target, ReplyHandler handler) {
    target_ = target;
    handler_ = std::move(handler);
}

void TServeur::Discover(QObject* target, ReplyHandler handler) {
    Register(target, std::move(handler));
    SendAndWait(BuildDiscoveryRequest(distributorCode_), DiscoverLimit);
}

void TServeur::ReadAll(const TOLG& record, QObject* target, ReplyHandler handler) {
    Register(target, std::move(handler));
    SendSplit(SplitOperation::Read, record, ReadLimit);
}

int TServeur::WriteParams(const TOLG& record, bool generalOnly, QObject* target, ReplyHandler handler) {
    // Built from a copy up front: replies merged into the list during the waits must not change what is sent.
    const SplitRequest request =
        BuildSplitRequest(generalOnly ? SplitOperation::WriteGeneral : SplitOperation::WriteAll, record,
                          registry_, distributorCode_);
    if (request.TooLongParam != 0)
        return request.TooLongParam;
    Register(target, std::move(handler));
    QPointer<TServeur> alive(this);
    for (const TSendBuf& datagram : request.Datagrams) {
        SendAndWait(datagram, WriteLimit);
        // Something run during the wait may have destroyed the exchange (the program ending, say).
        if (!alive)
            break;
    }
    return 0;
}

int TServeur::WriteGeneral(const TOLG& record, QObject* target, ReplyHandler handler) {
    return WriteParams(record, true, target, std::move(handler));
}

int TServeur::WriteAll(const TOLG& record, QObject* target, ReplyHandler handler) {
    return WriteParams(record, false, target, std::move(handler));
}

void TServeur::SendSplit(SplitOperation operation, const TOLG& record, int limit) {
    const SplitRequest request = BuildSplitRequest(operation, record, registry_, distributorCode_);
    QPointer<TServeur> alive(this);
    for (const TSendBuf& datagram : request.Datagrams) {
        SendAndWait(datagram, limit);
        if (!alive)
            break;
    }
}

void TServeur::RequestImageUpgrade(const QString& address, QObject* target, ReplyHandler handler) {
    Register(target, std::move(handler));
    SendAndWait(BuildUpgradeRequest(CommandImageUpgrade, TextToIp(address.toStdString()), distributorCode_),
                UpgradeLimit);
}

void TServeur::RequestFileUpgrade(const QString& address, QObject* target, ReplyHandler handler) {
    Register(target, std::move(handler));
    SendAndWait(BuildUpgradeRequest(CommandFileUpgrade, TextToIp(address.toStdString()), distributorCode_),
                UpgradeLimit);
}

void TServeur::SendAndWait(const TSendBuf& datagram, int limit) {
    stop_ = false;
    if (!bindError_.isEmpty()) {
        ShowError(prompts_, ErrorConnection, bindError_);
        return;
    }
    const QByteArray bytes(reinterpret_cast<const char*>(datagram.data()),
                           static_cast<qsizetype>(datagram.size()));
    if (socket_.writeDatagram(bytes, settings_.TargetAddress, settings_.TargetPort) < 0) {
        ShowError(prompts_, ErrorConnection, socket_.errorString());
        return;
    }
    QPointer<TServeur> alive(this);
    if (limit <= 0) {
        // A discovery does not wait for answers: they arrive during the scan timer's idle time.
        QCoreApplication::processEvents();
        return;
    }
    if (stop_)
        return;
    QEventLoop wait;
    QTimer deadline;
    deadline.setSingleShot(true);
    // A coarse timer may fire up to 5% early; every wait must last at least its limit.
    deadline.setTimerType(Qt::PreciseTimer);
    connect(&deadline, &QTimer::timeout, &wait, &QEventLoop::quit);
    deadline.start(limit * 100);
    waits_.push_back(&wait);
    wait.exec();
    if (alive)
        std::erase(waits_, &wait);
}

void TServeur::OnReadyRead() {
    // Read on a turn of its own, like every further batch, so that the timers keep their turn too.
    readSignalled_ = true;
    ReadLater();
}

void TServeur::ReadLater() {
    if (readScheduled_ || !(readSignalled_ || socket_.hasPendingDatagrams()))
        return;
    readScheduled_ = true;
    QMetaObject::invokeMethod(this, &TServeur::ReadPending, Qt::QueuedConnection);
}

void TServeur::ReadPending() {
    readScheduled_ = false;
    // While a handler runs, datagrams wait in the socket: they are read, in order, once it has returned.
    if (delivering_)
        return;
    ReadBatch();
    QPointer<TServeur> alive(this);
    DeliverQueued();
    if (alive)
        ReadLater();
}

void TServeur::ReadBatch() {
    readSignalled_ = false;
    // One batch per turn of the event loop: a peer that never stops sending must leave the timers and the
    // window their turn.
    for (int read = 0; read < ReadBatchSize; ++read) {
        QHostAddress address;
        quint16 port = 0;
        // Every read, one that finds the socket empty too, re-arms the socket's signal; a signal that no read
        // follows would leave the exchange deaf for good.
        const qint64 size = socket_.readDatagram(readBuffer_.data(), readBuffer_.size(), &address, &port);
        if (size < 0)
            return;
        const QString sender = address.toString();
        // The socket hears the program's own broadcasts, since it listens on their destination port.
        if (ownAddresses_.Contains(sender))
            continue;
        queue_.enqueue(Received{sender, port, QByteArray(readBuffer_.constData(), size)});
    }
}

void TServeur::DeliverQueued() {
    if (delivering_)
        return;
    QPointer<TServeur> alive(this);
    while (!queue_.isEmpty()) {
        const Received received = queue_.dequeue();
        Accept();
        if (!handler_ || !target_)
            continue;
        // A copy, so that an operation started by the handler may replace the registered one safely.
        const ReplyHandler handler = handler_;
        delivering_ = true;
        handler(received.Sender, received.Port, received.Data, true);
        if (!alive)
            return;
        delivering_ = false;
    }
}

void TServeur::Accept() {
    stop_ = true;
    for (QEventLoop* wait : waits_)
        wait->exit();
}

} // namespace olg
