#pragma once

#include "DeviceConfig.h"

#include "DeviceScript.h"

#include <QHostAddress>
#include <QString>

#include <optional>
#include <vector>

namespace olg::sim {

// What olgsim was asked to run: where it listens, how it answers, and its devices in answering order.
struct SimulatorSetup {
    QHostAddress ListenAddress{QHostAddress::AnyIPv4};
    quint16 ListenPort = 52389;
    // Loopback mode: device i answers from this address + i.
    std::optional<quint32> ReplyBase;
    // Real mode only: answer to 255.255.255.255 instead of the requester's address.
    bool BroadcastReplies = false;
    QString StatePath;
    // Where each device serves TFTP and FTP, on its own address.
    quint16 TftpPort = 69;
    quint16 FtpPort = 21;
    std::vector<DeviceConfig> Devices;
    // Timed actions, counted from the first request received, so that a script lines up with the first scan
    // of whoever talks to the simulator.
    std::optional<DeviceScript> Script;
    // Actions typed on standard input are applied at once.
    bool CommandsOnStdin = false;
};

} // namespace olg::sim
