#include "TServeur.h"

#include "Datagram.h"
#include "DeviceList.h"
#include "ErrorBox.h"
#include "IpText.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QThread>
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

quint64 IdentityKey(const std::uint8_t* identity) {
    quint64 key = 0;
    for (std::size_t i = 0; i < DeviceIdentity{}.size(); ++i)
        key = key << 8 | identity[i];
    return key;
}

// Runs the call on the object's thread and waits for it; directly when that is this thread.
template <typename Call> void RunOnThreadOf(QObject* object, Call call) {
    if (QThread::currentThread() == object->thread())
        call();
    else
        QMetaObject::invokeMethod(object, call, Qt::BlockingQueuedConnection);
}

} // namespace

TServeur::TServeur(const DeviceRegistry& registry, Prompts& prompts, const ExchangeSettings& settings,
                   QObject* parent)
    : QObject(parent), registry_(registry), prompts_(prompts), settings_(settings),
      readBuffer_(LargestDatagram, Qt::Uninitialized) {
    if (socket_.bind(settings_.BindAddress, settings_.BindPort, QAbstractSocket::DontShareAddress)) {
        EnlargeReceiveBuffer(socket_);
    } else if (socket_.error() == QAbstractSocket::AddressInUseError) {
        bindError_ = tr("UDP port %1 is already in use by another program").arg(settings_.BindPort);
    } else {
        bindError_ =
            tr("cannot listen on UDP port %1: %2").arg(settings_.BindPort).arg(socket_.errorString());
    }
    connect(&socket_, &QUdpSocket::readyRead, this, &TServeur::OnReadyRead);
}

TServeur::TServeur(TServeur& shared, Prompts& prompts, QObject* parent)
    : QObject(parent), registry_(shared.registry_), prompts_(prompts), settings_(shared.settings_),
      interfaceNames_(shared.interfaceNames_), distributorCode_(shared.distributorCode_), shared_(&shared),
      sharedPort_(shared.LocalPort()) {}

TServeur::~TServeur() {
    // No reply may be handed to a lane that is gone.
    if (shared_)
        RunOnThreadOf(shared_, [this] { shared_->ForgetLane(this); });
    // A wait still running on the stack must not touch this object after it is gone.
    for (QEventLoop* wait : waits_)
        wait->exit();
}

quint16 TServeur::LocalPort() const {
    return shared_ ? sharedPort_ : socket_.localPort();
}

void TServeur::Register(QObject* target, ReplyHandler handler) {
    target_ = target;
    handler_ = std::move(handler);
    sendFailed_ = false;
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
    const QString interfaceName = QString::fromStdString(record.Interface);
    for (const TSendBuf& datagram : request.Datagrams) {
        SendAndWait(datagram, WriteLimit, interfaceName);
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
    const QString interfaceName = QString::fromStdString(record.Interface);
    QPointer<TServeur> alive(this);
    for (const TSendBuf& datagram : request.Datagrams) {
        SendAndWait(datagram, limit, interfaceName);
        if (!alive)
            break;
    }
}

void TServeur::RequestImageUpgrade(const QString& address, QObject* target, ReplyHandler handler) {
    Register(target, std::move(handler));
    SendAndWait(BuildUpgradeRequest(CommandImageUpgrade, TextToIp(address.toStdString()), distributorCode_),
                UpgradeLimit, interfaces_.NameOf(interfaceOfSender_.value(address)));
}

void TServeur::RequestFileUpgrade(const QString& address, QObject* target, ReplyHandler handler) {
    Register(target, std::move(handler));
    SendAndWait(BuildUpgradeRequest(CommandFileUpgrade, TextToIp(address.toStdString()), distributorCode_),
                UpgradeLimit, interfaces_.NameOf(interfaceOfSender_.value(address)));
}

void TServeur::SendAndWait(const TSendBuf& datagram, int limit) {
    sendFailed_ = false;
    SendAndWait(datagram, limit, QString());
}

void TServeur::SendAndWait(const TSendBuf& datagram, int limit, const QString& interfaceName) {
    stop_ = false;
    // One failure, one message: the other datagrams of the operation would fail alike.
    if (sendFailed_)
        return;
    if (!bindError_.isEmpty()) {
        sendFailed_ = true;
        ShowError(prompts_, ErrorConnection, bindError_);
        return;
    }
    const QByteArray bytes(reinterpret_cast<const char*>(datagram.data()),
                           static_cast<qsizetype>(datagram.size()));
    if (!Send(bytes, interfaceName)) {
        sendFailed_ = true;
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

bool TServeur::OnEveryInterface() const {
    // Only a LAN broadcast from a socket on every local address; requests sent elsewhere (tests, the demo)
    // go as they always did.
    return settings_.TargetAddress == QHostAddress(QHostAddress::Broadcast) &&
           (settings_.BindAddress == QHostAddress(QHostAddress::AnyIPv4) ||
            settings_.BindAddress == QHostAddress(QHostAddress::Any));
}

bool TServeur::Send(const QByteArray& bytes, const QString& interfaceName) {
    QString error;
    if (shared_)
        RunOnThreadOf(shared_, [&] { error = shared_->SendForLane(this, bytes, interfaceName); });
    else
        error = SendFromSocket(bytes, interfaceName);
    if (error.isEmpty())
        return true;
    ShowError(prompts_, ErrorConnection, error);
    return false;
}

QString TServeur::SendFromSocket(const QByteArray& bytes, const QString& interfaceName) {
    QList<BroadcastInterfaces::Interface> interfaces;
    if (OnEveryInterface()) {
        interfaces = BroadcastInterfaces::List(interfaceNames_);
        const auto named = std::find_if(interfaces.begin(), interfaces.end(), [&](const auto& interface) {
            return interface.Name == interfaceName;
        });
        if (named != interfaces.end())
            interfaces = {*named};
    }
    if (interfaces.isEmpty() && (interfaceNames_.isEmpty() || !OnEveryInterface())) {
        // No interface to choose from: the system's route decides, as on a host with one network.
        if (socket_.writeDatagram(bytes, settings_.TargetAddress, settings_.TargetPort) >= 0)
            return {};
        return socket_.errorString();
    }
    QString error =
        tr("no network interface among %1 can broadcast").arg(interfaceNames_.join(QStringLiteral(", ")));
    bool sent = false;
    for (const BroadcastInterfaces::Interface& interface : interfaces) {
        QNetworkDatagram datagram(bytes, settings_.TargetAddress, settings_.TargetPort);
        datagram.setInterfaceIndex(static_cast<uint>(interface.Index));
        if (socket_.writeDatagram(datagram) >= 0)
            sent = true;
        else
            error = QStringLiteral("%1: %2").arg(interface.Name, socket_.errorString());
    }
    // One network out of reach must not keep the request from the others.
    return sent ? QString() : error;
}

QString TServeur::SendForLane(TServeur* lane, const QByteArray& bytes, QString interfaceName) {
    if (!bindError_.isEmpty())
        return bindError_;
    if (bytes.size() >= static_cast<qsizetype>(HeaderSize)) {
        const auto* header = reinterpret_cast<const std::uint8_t*>(bytes.constData());
        const std::uint8_t command = header[CommandOffset];
        if (command == CommandImageUpgrade || command == CommandFileUpgrade) {
            // Named by its address: bytes 2-5 of the destination hold it, and the answer comes from it.
            const quint32 address =
                quint32{header[DestinationOffset + 2]} << 24 | quint32{header[DestinationOffset + 3]} << 16 |
                quint32{header[DestinationOffset + 4]} << 8 | header[DestinationOffset + 5];
            laneOfAddress_.insert(address, lane);
            if (interfaceName.isEmpty())
                interfaceName =
                    interfaces_.NameOf(interfaceOfSender_.value(QHostAddress(address).toString()));
        } else {
            laneOfIdentity_.insert(IdentityKey(header + DestinationOffset), lane);
        }
    }
    return SendFromSocket(bytes, interfaceName);
}

void TServeur::ForgetLane(TServeur* lane) {
    laneOfIdentity_.removeIf([lane](const auto& entry) { return entry.value() == lane; });
    laneOfAddress_.removeIf([lane](const auto& entry) { return entry.value() == lane; });
}

bool TServeur::RouteToLane(const Received& received) {
    TServeur* lane = nullptr;
    if (received.Data.size() >= static_cast<qsizetype>(HeaderSize))
        lane = laneOfIdentity_.value(
            IdentityKey(reinterpret_cast<const std::uint8_t*>(received.Data.constData()) + SourceOffset));
    if (!lane)
        lane = laneOfAddress_.value(QHostAddress(received.Sender).toIPv4Address());
    if (!lane)
        return false;
    // Posted while the lane is known: a lane forgets itself here before it goes, and what was posted to it
    // then goes with it.
    Received copy = received;
    copy.InterfaceName = interfaces_.NameOf(received.InterfaceIndex);
    QMetaObject::invokeMethod(
        lane,
        [lane, copy] {
            lane->queue_.enqueue(copy);
            lane->ReadLater();
        },
        Qt::QueuedConnection);
    return true;
}

void TServeur::OnReadyRead() {
    // Read on a turn of its own, like every further batch, so that the timers keep their turn too.
    readSignalled_ = true;
    ReadLater();
}

void TServeur::ReadLater() {
    if (readScheduled_ ||
        !(readSignalled_ || !queue_.isEmpty() || (!shared_ && socket_.hasPendingDatagrams())))
        return;
    readScheduled_ = true;
    QMetaObject::invokeMethod(this, &TServeur::ReadPending, Qt::QueuedConnection);
}

void TServeur::ReadPending() {
    readScheduled_ = false;
    // While a handler runs, datagrams wait in the socket: they are read, in order, once it has returned.
    if (delivering_)
        return;
    // What a turn left undelivered goes first; newer datagrams wait in the socket meanwhile.
    if (queue_.isEmpty())
        ReadBatch();
    QPointer<TServeur> alive(this);
    DeliverQueued();
    if (alive)
        ReadLater();
}

void TServeur::ReadBatch() {
    readSignalled_ = false;
    // A lane has no socket of its own: the shared exchange hands it its replies.
    if (shared_)
        return;
    // One batch per turn of the event loop: a peer that never stops sending must leave the timers and the
    // window their turn.
    QList<BroadcastInterfaces::Interface> allowed;
    if (!interfaceNames_.isEmpty())
        allowed = BroadcastInterfaces::List(interfaceNames_);
    for (int read = 0; read < ReadBatchSize; ++read) {
        // Every read, one that finds the socket empty too, re-arms the socket's signal; a signal that no read
        // follows would leave the exchange deaf for good.
        const qint64 pending = socket_.pendingDatagramSize();
        if (pending < 0) {
            QHostAddress address;
            quint16 port = 0;
            const qint64 size = socket_.readDatagram(readBuffer_.data(), readBuffer_.size(), &address, &port);
            if (size < 0)
                return;
            // One that came in just now, read without its header: it came in where its sender's last one did
            // (unknown for a new sender).
            const QString sender = address.toString();
            Enqueue(Received{sender,
                             port,
                             QByteArray(readBuffer_.constData(), size),
                             interfaceOfSender_.value(sender),
                             {}},
                    allowed);
            continue;
        }
        const QNetworkDatagram datagram = socket_.receiveDatagram(pending);
        if (!datagram.isValid())
            return;
        Enqueue(Received{datagram.senderAddress().toString(),
                         static_cast<quint16>(datagram.senderPort()),
                         datagram.data(),
                         static_cast<int>(datagram.interfaceIndex()),
                         {}},
                allowed);
    }
}

void TServeur::Enqueue(Received received, const QList<BroadcastInterfaces::Interface>& allowed) {
    // The socket hears the program's own broadcasts, since it listens on their destination port.
    if (ownAddresses_.Contains(received.Sender))
        return;
    if (!interfaceNames_.isEmpty() && received.InterfaceIndex > 0 &&
        std::none_of(allowed.begin(), allowed.end(),
                     [&](const auto& interface) { return interface.Index == received.InterfaceIndex; }))
        return;
    if (received.InterfaceIndex > 0) {
        // Bounded like the device list: a peer sending from ever new addresses must not fill the memory.
        if (interfaceOfSender_.size() >= DeviceList::MaxDevices &&
            !interfaceOfSender_.contains(received.Sender))
            interfaceOfSender_.clear();
        interfaceOfSender_.insert(received.Sender, received.InterfaceIndex);
    }
    queue_.enqueue(std::move(received));
}

void TServeur::DeliverQueued() {
    if (delivering_)
        return;
    QPointer<TServeur> alive(this);
    // However much a handler does per reply, a turn of the event loop ends in time: the rest of the batch
    // waits for the next one.
    QElapsedTimer turn;
    turn.start();
    while (!queue_.isEmpty() && !turn.hasExpired(DeliverBudgetMs)) {
        const Received received = queue_.dequeue();
        if ((!laneOfIdentity_.isEmpty() || !laneOfAddress_.isEmpty()) && RouteToLane(received))
            continue;
        const bool fromSender =
            answerSender_.isNull() ||
            answerSender_.isEqual(QHostAddress(received.Sender), QHostAddress::TolerantConversion);
        if (fromSender && (!endsWait_ || endsWait_(received.Data)))
            Accept();
        if (!handler_ || !target_)
            continue;
        // A copy, so that an operation started by the handler may replace the registered one safely.
        const ReplyHandler handler = handler_;
        delivering_ = true;
        replyInterface_ = shared_ ? received.InterfaceName : interfaces_.NameOf(received.InterfaceIndex);
        handler(received.Sender, received.Port, received.Data, true);
        if (!alive)
            return;
        replyInterface_.clear();
        delivering_ = false;
    }
}

void TServeur::Accept() {
    stop_ = true;
    for (QEventLoop* wait : waits_)
        wait->exit();
}

} // namespace olg
