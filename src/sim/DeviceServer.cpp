#include "DeviceServer.h"

#include "FtpServer.h"
#include "TftpServer.h"

#include <QNetworkDatagram>
#include <QTimer>
#include <QVariant>

#include <cstdio>

namespace olg::sim {

namespace {

// Big enough for the answers of thousands of devices to one discovery, and for bursts of requests.
constexpr int SocketBufferBytes = 8 * 1024 * 1024;

} // namespace

DeviceServer::DeviceServer(SimulatorSetup setup, const DeviceRegistry& registry, QObject* parent)
    : QObject(parent), setup_(std::move(setup)) {
    devices_.reserve(setup_.Devices.size());
    for (const DeviceConfig& config : setup_.Devices)
        devices_.emplace_back(config, config.Ip.value_or(0), registry);
    if (setup_.ReplyBase)
        for (std::size_t i = 0; i < devices_.size(); ++i)
            devices_[i].SetAnsweringAddress(*setup_.ReplyBase + static_cast<quint32>(i));
    files_.resize(devices_.size());
    services_.resize(devices_.size());
    for (std::size_t i = 0; i < devices_.size(); ++i)
        for (const std::string& name : setup_.Devices[i].FtpFiles)
            files_[i].FtpStore[QString::fromStdString(name)] = QByteArray::fromStdString(name);
    if (!setup_.StatePath.empty()) {
        state_ = std::make_unique<StateWriter>(QString::fromStdString(setup_.StatePath));
        state_->SetFiles(&files_);
    }
}

bool DeviceServer::Start() {
    // Shared, so that several simulators (one per lab namespace, or a Finder under test) can coexist on
    // one port where the system allows it.
    if (!socket_.bind(QHostAddress(setup_.ListenAddress), setup_.ListenPort,
                      QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint)) {
        error_ = QStringLiteral("cannot listen on %1:%2: %3")
                     .arg(QHostAddress(setup_.ListenAddress).toString())
                     .arg(setup_.ListenPort)
                     .arg(socket_.errorString());
        return false;
    }
    socket_.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, QVariant(SocketBufferBytes));
    socket_.setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, QVariant(SocketBufferBytes));
    sender_ = std::make_unique<ReplySender>(socket_.socketDescriptor());
    connect(&socket_, &QUdpSocket::readyRead, this, &DeviceServer::ReadPending);
    if (state_ && !state_->WriteAll(devices_, setup_.ReplyBase)) {
        error_ = QStringLiteral("cannot write %1: %2")
                     .arg(QString::fromStdString(setup_.StatePath), state_->ErrorText());
        return false;
    }
    return true;
}

QString DeviceServer::ListenText() const {
    return QStringLiteral("%1:%2").arg(socket_.localAddress().toString()).arg(socket_.localPort());
}

void DeviceServer::ReadPending() {
    while (socket_.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket_.receiveDatagram(65536);
        if (!datagram.isValid())
            break;
        Handle(datagram.data(), datagram.senderAddress(), static_cast<quint16>(datagram.senderPort()));
    }
}

quint32 DeviceServer::SourceFor(std::size_t index) const {
    if (setup_.ReplyBase)
        return devices_[index].AnsweringAddress(*setup_.ReplyBase + static_cast<quint32>(index));
    return devices_[index].Ip();
}

void DeviceServer::SaveState(std::size_t index) {
    if (state_ && !state_->Update(devices_, index, setup_.ReplyBase))
        std::fprintf(stderr, "olgsim: cannot write %s: %s\n", setup_.StatePath.c_str(),
                     qPrintable(state_->ErrorText()));
}

void DeviceServer::OpenUpgradeServices(std::size_t index) {
    // Opened on demand: a fleet of thousands would otherwise hold two sockets per device for nothing.
    // A device moved by a write serves at its new address.
    const quint32 source = SourceFor(index);
    if (services_[index].Address == source)
        return;
    delete services_[index].Tftp;
    delete services_[index].Ftp;
    const QHostAddress address(source);
    const DeviceFaults& faults = devices_[index].Config().Faults;
    auto* tftp = new TftpServer(address, setup_.TftpPort, faults, files_[index], this);
    auto* ftp = new FtpServer(address, setup_.FtpPort, faults, files_[index], this);
    services_[index] = {source, tftp, ftp};
    connect(tftp, &TftpServer::ImageStored, this, [this, index] { SaveState(index); });
    connect(ftp, &FtpServer::StoreChanged, this, [this, index] { SaveState(index); });
    QString error;
    if (!tftp->Start(&error))
        std::fprintf(stderr, "olgsim: %s\n", qPrintable(error));
    if (!ftp->Start(&error))
        std::fprintf(stderr, "olgsim: %s\n", qPrintable(error));
}

void DeviceServer::Handle(const QByteArray& datagram, const QHostAddress& sender, quint16 senderPort) {
    if (sender.protocol() != QAbstractSocket::IPv4Protocol && !sender.toIPv4Address())
        return;
    const QHostAddress destination = setup_.BroadcastReplies ? QHostAddress(QHostAddress::Broadcast)
                                                             : QHostAddress(sender.toIPv4Address());
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(datagram.constData());
    const auto size = static_cast<std::size_t>(datagram.size());
    for (std::size_t i = 0; i < devices_.size(); ++i) {
        DeviceAnswer answer = devices_[i].Answer(bytes, size);
        // The state is on disk before the reply leaves, so whoever got the reply reads the new values.
        if (answer.Changed)
            SaveState(i);
        // Before the answer leaves, so that the upload it asks for finds the services open.
        if (answer.UpgradeRequested)
            OpenUpgradeServices(i);
        if (!answer.Answered)
            continue;
        const QByteArray reply(reinterpret_cast<const char*>(answer.Datagram.data()),
                               static_cast<qsizetype>(answer.Datagram.size()));
        const quint32 source = SourceFor(i);
        if (answer.DelayMs <= 0) {
            sender_->Send(reply, source, destination, senderPort);
            continue;
        }
        // Only delayed devices cost a timer; everyone else answers within this call.
        ReplySender* replies = sender_.get();
        QTimer::singleShot(answer.DelayMs, this, [replies, reply, source, destination, senderPort] {
            replies->Send(reply, source, destination, senderPort);
        });
    }
}

} // namespace olg::sim
