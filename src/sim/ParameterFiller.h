#pragma once

#include "DeviceConfig.h"

#include "ParamDescriptor.h"
#include "TOLG.h"

#include <optional>
#include <string>
#include <string_view>

namespace olg::sim {

// Gives every parameter of a device's table a plausible value: the network settings from the device's
// configuration, socket names, user logins that differ pairwise, passwords, masks, supervision slots, delays,
// power-up states and counters that differ from device to device.
class ParameterFiller {
public:
    // Fills the values of every id of the table; ids outside the table stay empty. The overrides of the
    // configuration come last.
    static void Fill(TOLG& store, const DeviceConfig& config, std::uint32_t ip, std::string_view model,
                     const TConfigFile& table);

    // A value of this kind from its text form: dotted address for kind 1, raw bytes for kind 2, decimal or
    // 0x hexadecimal for the numbers (range-checked). Nothing for a text that does not fit the kind.
    static std::optional<ParamValue> ParseValue(std::uint8_t kind, std::string_view text);
};

} // namespace olg::sim
