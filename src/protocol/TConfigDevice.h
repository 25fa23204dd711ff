#pragma once

#include "ParamDescriptor.h"

#include <cstdint>
#include <string>

namespace olg {

// How a device's web pages are reached.
inline constexpr std::uint8_t WebSchemeHttps = 0;
inline constexpr std::uint8_t WebSchemeHttp = 1;
inline constexpr std::uint8_t WebSchemeByFlags = 2; // https when bit 7 of parameter 6 is set, else http

// One registered device type. The model dialog factory lives in the GUI layer, keyed by `Model`,
// so that this record stays free of any GUI type.
struct TConfigDevice {
    std::uint32_t TypeCode = 0;
    TConfigFile Params;
    std::uint8_t WebScheme = WebSchemeHttp;
    std::uint8_t HasAdminPage = 0;
    std::string Model; // "olg1n" ... "olg8w"
};

} // namespace olg
