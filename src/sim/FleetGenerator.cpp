#include "FleetGenerator.h"

namespace olg::sim {

namespace {

// Versions on both sides of the firmware levels at which the configuration dialogs change their layout, so
// that a fleet shows every layout: olg1n below and from 1.4.0.0, the other socket models below and from
// 1.2.0.0, olg8w below 2.0.0.0, from 2.0.0.0 and from 2.0.0.3, written with a build note after a blank as
// that firmware does. Consecutive rounds of one model step through its layouts; the model's position and the
// round keep the versions distinct (for fleets of up to about 100,000 devices).
std::string Firmware(int number, int typeCount, const std::string& model) {
    const int index = number % typeCount;
    const int round = number / typeCount;
    const bool olg8w = model == "olg8w";
    const int layouts = olg8w ? 3 : 2;
    const int layout = (round + index) % layouts;
    const int step = round / layouts;
    if (olg8w && layout > 0)
        return (layout == 1 ? "2.0.0.0 build " : "2.0.0.3 build ") + std::to_string(number + 1);
    std::string release;
    if (olg8w)
        release = "1.9";
    else if (model == "olg1n")
        release = layout == 0 ? "1.3" : "1.4";
    else
        release = layout == 0 ? "1.1" : "1.2";
    return release + "." + std::to_string((index + typeCount * (step / 256)) % 256) + "." +
           std::to_string(step % 256);
}

} // namespace

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
        config.Firmware = registry.Count() > 0 ? Firmware(number, registry.Count(),
                                                          registry.Entry(number % registry.Count()).Model)
                                               : "1.2.0." + std::to_string(number % 256);
        const std::string digits = std::to_string(number + 1);
        config.Name = "PDU-" + std::string(digits.size() < 4 ? 4 - digits.size() : 0, '0') + digits;
        config.Faults = faults;
        config.Serial = number;
        fleet.push_back(std::move(config));
    }
    return fleet;
}

} // namespace olg::sim
