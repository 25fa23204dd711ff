#include "FleetGenerator.h"

namespace olg::sim {

std::uint32_t FleetGenerator::NthHostAddress(std::uint32_t first, int n) {
    std::uint32_t address = first;
    for (int i = 0; i < n; ++i) {
        do
            ++address;
        while ((address & 0xFF) == 0 || (address & 0xFF) == 0xFF);
    }
    return address;
}

std::vector<DeviceConfig> FleetGenerator::Generate(int count, int first, std::optional<std::uint32_t> firstIp,
                                                   const DeviceFaults& faults,
                                                   const DeviceRegistry& registry) {
    std::vector<DeviceConfig> fleet;
    fleet.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int number = first + i;
        DeviceConfig config;
        config.TypeCode = registry.Count() > 0 ? registry.Entry(number % registry.Count()).TypeCode : 0;
        config.Mac = FirstMac + static_cast<std::uint64_t>(number);
        if (firstIp)
            config.Ip = NthHostAddress(*firstIp, i);
        // Distinct versions within a plausible range: 1.2.x.y to 1.8.x.y.
        config.Firmware = "1." + std::to_string(2 + number % 7) + "." + std::to_string(number / 7 % 256) +
                          "." + std::to_string(number / (7 * 256));
        const std::string digits = std::to_string(number + 1);
        config.Name = "PDU-" + std::string(digits.size() < 4 ? 4 - digits.size() : 0, '0') + digits;
        config.Faults = faults;
        config.Serial = number;
        fleet.push_back(std::move(config));
    }
    return fleet;
}

} // namespace olg::sim
