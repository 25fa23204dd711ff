#pragma once

#include "DeviceFiles.h"
#include "ReplySender.h"
#include "ScriptPlayer.h"
#include "SimulatorSetup.h"
#include "StateWriter.h"
#include "VirtualDevice.h"

#include "DeviceRegistry.h"
#include "DeviceScript.h"

#include <QObject>
#include <QUdpSocket>

#include <memory>
#include <unordered_map>
#include <vector>

namespace olg::sim {

// The simulated network: one socket receives every request, each device decides its answer, and the answers
// leave from each device's own address.
class DeviceServer : public QObject {
    Q_OBJECT
public:
    DeviceServer(SimulatorSetup setup, const DeviceRegistry& registry, QObject* parent = nullptr);

    // Binds the socket and writes the first state file; false with ErrorText() otherwise.
    bool Start();
    const QString& ErrorText() const { return error_; }
    // Where the socket is bound, with the real port when port 0 was asked for.
    QString ListenText() const;
    const std::vector<VirtualDevice>& Devices() const { return devices_; }
    const std::vector<DeviceFiles>& Files() const { return files_; }
    // Makes a device go silent, answer again or change its settings; false with the reason otherwise.
    // On loopback a new address moves the device's answering address too, within 127.0.0.0/8.
    bool Apply(const DeviceAction& action, QString* error);

private:
    void ReadPending();
    void Handle(const QByteArray& datagram, const QHostAddress& sender, quint16 senderPort);
    quint32 SourceFor(std::size_t index) const;
    // Opens a device's TFTP and FTP services; a port that cannot be bound is reported once.
    void OpenUpgradeServices(std::size_t index);
    void SaveState(std::size_t index);

    SimulatorSetup setup_;
    std::vector<VirtualDevice> devices_;
    // Sized once: the services keep references to their device's files.
    std::vector<DeviceFiles> files_;
    struct Services {
        quint32 Address = 0; // 0 until the first upgrade request
        QObject* Tftp = nullptr;
        QObject* Ftp = nullptr;
    };
    std::vector<Services> services_;
    QUdpSocket socket_;
    std::unique_ptr<ReplySender> sender_;
    std::unique_ptr<StateWriter> state_;
    QString error_;
    std::unordered_map<std::uint64_t, std::size_t> byMac_;
    // A silent device neither sees requests nor answers, as if it were unplugged.
    std::vector<bool> silent_;
    ScriptPlayer* player_ = nullptr;
};

} // namespace olg::sim
