#pragma once

#include "DeviceConfig.h"
#include "FaultInjector.h"

#include "DeviceRegistry.h"
#include "TOLG.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace olg::sim {

// What a device does with one received datagram.
struct DeviceAnswer {
    bool Answered = false;              // Datagram holds a reply to send
    std::vector<std::uint8_t> Datagram; // the reply, faults applied
    bool Changed = false;               // a write stored at least one value
    int DelayMs = 0;                    // wait this long before sending
    bool UpgradeRequested = false;      // an upgrade request named this device
};

// One simulated device: its parameter store and its answers to the UDP protocol, as a device's firmware gives
// them. Plain C++ so that its behaviour is tested without any socket.
class VirtualDevice {
public:
    VirtualDevice(const DeviceConfig& config, std::uint32_t ip, const DeviceRegistry& registry);

    const DeviceConfig& Config() const { return config_; }
    std::uint64_t Mac() const { return config_.Mac; }
    const std::string& Model() const { return model_; }
    UpgradeAnswer Upgrade() const { return upgrade_; }
    // Parameter 2 as it stands: a write may move the device.
    std::uint32_t Ip() const;
    // On loopback a device is reached at its answering address whatever its parameter 2 says, so it takes
    // upgrade requests for that address too.
    void SetAnsweringAddress(std::uint32_t address) { answeringAddress_ = address; }
    // Sets one parameter from its text form (ParameterFiller::ParseValue), as a change made on the device
    // itself; false when the device has no such id or the text does not fit its kind.
    bool SetParameter(int id, std::string_view text);
    // Where the device answers from on loopback: its parameter 2 once that is a loopback address (a write
    // moves it there), else the address it was given.
    std::uint32_t AnsweringAddress(std::uint32_t given) const;
    const TOLG& Store() const { return store_; }
    // The kind of an id in this device's table, 0 when the device lacks it.
    std::uint8_t Kind(int id) const;
    std::uint8_t Access(int id) const;
    const TConfigFile& Table() const { return table_; }

    // The answer to one datagram as received; requests for other identities, replies of other devices and
    // datagrams too short for a header get none. Never reads outside [data, data + size).
    DeviceAnswer Answer(const std::uint8_t* data, std::size_t size);

private:
    bool Read(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& reply) const;
    bool Write(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& reply);
    void StartReply(const std::uint8_t* request, std::vector<std::uint8_t>& reply) const;
    void AppendValue(std::vector<std::uint8_t>& reply, int id) const;

    DeviceConfig config_;
    std::string model_;
    UpgradeAnswer upgrade_;
    TConfigFile table_;
    // Position of each id's descriptor in table_, -1 where the table has none (index = id).
    std::vector<int> descriptorOf_;
    TOLG store_;
    FaultInjector faults_;
    std::uint32_t answeringAddress_ = 0;
};

} // namespace olg::sim
