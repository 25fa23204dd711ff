#pragma once

#include "DeviceConfig.h"

#include "DeviceRegistry.h"

#include <optional>
#include <vector>

namespace olg::sim {

// A generated fleet: models cycling through the registered type codes in registration order, unique MACs
// (locally administered, 02-4F-4C-..), distinct names and firmware versions.
class FleetGenerator {
public:
    // Devices numbered first .. first + count - 1, so that fleets started apart (one per lab namespace)
    // never share a MAC. Without a first address the devices' addresses are left to the simulator.
    static std::vector<DeviceConfig> Generate(int count, int first, std::optional<std::uint32_t> firstIp,
                                              const DeviceFaults& faults, const DeviceRegistry& registry);

    static constexpr std::uint64_t FirstMac = 0x024F4C000001ull;

    // The n-th usable host address from first on (n = 0 is first), skipping host parts .0 and .255.
    static std::uint32_t NthHostAddress(std::uint32_t first, int n);
};

} // namespace olg::sim
