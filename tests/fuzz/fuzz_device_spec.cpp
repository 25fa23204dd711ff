// A simulated device's description from the command line or a file: any text is read, or refused with a
// message, and an accepted one makes a device with its parameter store filled and overridden.

#include "DeviceSpecParser.h"
#include "VirtualDevice.h"

#include <cstdlib>

using namespace olg;
using namespace olg::sim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const DeviceRegistry registry = StandardRegistry();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    DeviceConfig config;
    std::string error;
    if (!DeviceSpecParser::Parse(DeviceSpecParser::Split(text), config, error)) {
        if (error.empty())
            std::abort();
        return 0;
    }
    const VirtualDevice device(config, config.Ip.value_or(0x7F000001u), registry);
    return 0;
}
