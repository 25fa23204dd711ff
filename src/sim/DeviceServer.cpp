#include "DeviceServer.h"

#include "FtpServer.h"
#include "TftpServer.h"

#include "IpText.h"
#include "MacAddress.h"

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
    silent_.resize(devices_.size(), false);
    for (std::size_t i = 0; i < devices_.size(); ++i)
        byMac_.emplace(devices_[i].Mac(), i);
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
    if (setup_.Script)
        player_ = new ScriptPlayer(
            *setup_.Script,
            [this](const DeviceAction& action) {
                QString error;
                if (!Apply(action, &error))
                    std::fprintf(stderr, "olgsim: script line %d: %s\n", action.Line, qPrintable(error));
            },
            this);
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
    // The script's clock starts with the first request, and what is due at once happens before it is seen.
    if (player_ && !player_->Started())
        player_->Start();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(datagram.constData());
    const auto size = static_cast<std::size_t>(datagram.size());
    for (std::size_t i = 0; i < devices_.size(); ++i) {
        if (silent_[i])
            continue;
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

bool DeviceServer::Apply(const DeviceAction& action, QString* error) {
    const auto found = byMac_.find(action.Mac);
    if (found == byMac_.end()) {
        *error = QStringLiteral("no device has the MAC %1")
                     .arg(QString::fromStdString(FormatMac("-", action.Mac)));
        return false;
    }
    const std::size_t index = found->second;
    if (action.What != DeviceAction::Kind::Set) {
        silent_[index] = action.What == DeviceAction::Kind::Silent;
        return true;
    }
    VirtualDevice& device = devices_[index];
    for (const auto& [key, value] : action.Settings) {
        const int id = key == "name" ? param::DeviceName
                       : key == "fw" ? param::Firmware
                       : key == "ip" ? param::IpAddress
                                     : std::stoi(key.substr(5));
        const std::uint32_t address = TextToIp(value);
        if (key == "ip" && setup_.ReplyBase && (address >> 24) != 127) {
            *error = QStringLiteral("on loopback a device's address stays in 127.0.0.0/8");
            return false;
        }
        if (!device.SetParameter(id, value)) {
            *error = QStringLiteral("%1=%2 does not fit the device")
                         .arg(QString::fromStdString(key), QString::fromStdString(value));
            return false;
        }
        if (key == "ip" && setup_.ReplyBase)
            device.SetAnsweringAddress(address);
    }
    SaveState(index);
    return true;
}

} // namespace olg::sim
