#pragma once

#include "DeviceFaults.h"

#include <cstdint>
#include <random>
#include <vector>

namespace olg::sim {

// Applies a device's fault switches to its requests and replies. Random choices come from a generator seeded
// per device, so a run with the same fleet misbehaves the same way.
class FaultInjector {
public:
    FaultInjector(DeviceFaults faults, std::uint64_t seed);

    const DeviceFaults& Faults() const { return faults_; }

    // True when this request is lost before the device sees it.
    bool DropRequest();
    // Spoils a well-formed reply as the switches ask. The source identity swap is done by the device itself.
    void SpoilReply(std::vector<std::uint8_t>& reply);

private:
    DeviceFaults faults_;
    std::mt19937_64 random_;
};

} // namespace olg::sim
