#pragma once

#include "DeviceConfig.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace olg::sim {

using KeyValues = std::vector<std::pair<std::string, std::string>>;

// Reads a device description, the same from the command line ("type=0x08000100,mac=00-0A-95-9D-68-16,...")
// and from a configuration file's device object. Keys:
//   type, mac, ip, fw, name, model, upgrade=tftp|ftp|none, paramID=VALUE,
//   and the fault switches noanswer, delay=MS, drop=SHARE, garbled, truncated, wronglengths, nonmac.
class DeviceSpecParser {
public:
    // "a=1,b,c=x" as key/value pairs; a key without "=" has the value "1".
    static KeyValues Split(std::string_view text);

    // Fills config from the pairs; false with a message naming the bad key otherwise.
    static bool Parse(const KeyValues& pairs, DeviceConfig& config, std::string& error);

    // One fault switch; false when the key is no fault switch or its value is bad (error says which).
    static bool ParseFault(std::string_view key, std::string_view value, DeviceFaults& faults,
                           std::string& error, bool& known);

    // A type code in decimal or 0x hexadecimal.
    static bool ParseNumber(std::string_view text, std::uint64_t limit, std::uint64_t& number);
};

} // namespace olg::sim
