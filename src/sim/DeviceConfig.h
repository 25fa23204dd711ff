#pragma once

#include "DeviceFaults.h"
#include "UpgradeAnswer.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace olg::sim {

// Everything that makes one simulated device what it is, before its parameter store is filled.
struct DeviceConfig {
    std::uint32_t TypeCode = 0x01010100;
    std::uint64_t Mac = 0;
    // Unset: the simulator chooses (the device's answering address on loopback).
    std::optional<std::uint32_t> Ip;
    std::string Firmware = "1.4.0.0";
    std::string Name;
    // Parameter 5; empty means the registered model name of the type code.
    std::string Model;
    std::optional<UpgradeAnswer> Upgrade; // unset: the model's usual way
    DeviceFaults Faults;
    // Number that makes the generated parameter values of this device differ from its neighbours'.
    int Serial = 0;
    // Values that replace the generated ones, by id, as text (numbers in decimal or 0x hex, addresses
    // dotted).
    std::map<int, std::string> Overrides;
    // Files on the device's FTP store at start (each holds its own name).
    std::vector<std::string> FtpFiles;
};

} // namespace olg::sim
