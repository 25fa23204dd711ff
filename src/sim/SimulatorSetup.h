#pragma once

#include "DeviceConfig.h"

#include "DeviceScript.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace olg::sim {

// What olgsim was asked to run: where it listens, how it answers, and its devices in answering order.
struct SimulatorSetup {
    std::uint32_t ListenAddress = 0; // 0.0.0.0
    std::uint16_t ListenPort = 52389;
    // Loopback mode: device i answers from this address + i.
    std::optional<std::uint32_t> ReplyBase;
    // Real mode only: answer to 255.255.255.255 instead of the requester's address.
    bool BroadcastReplies = false;
    std::string StatePath; // UTF-8
    // Where each device serves TFTP and FTP, on its own address.
    std::uint16_t TftpPort = 69;
    std::uint16_t FtpPort = 21;
    std::vector<DeviceConfig> Devices;
    // Timed actions, counted from the first request received, so that a script lines up with the first scan
    // of whoever talks to the simulator; read by the caller from ScriptPath (UTF-8).
    std::string ScriptPath;
    std::optional<DeviceScript> Script;
    // Actions typed on standard input are applied at once.
    bool CommandsOnStdin = false;
};

} // namespace olg::sim
