#pragma once

#include "ParamValue.h"

#include <cstdint>

namespace olg {

// The firmware version a device reports (parameter 12, dotted text such as 1.4.0.0) as the number the model
// dialogs compare with their thresholds: a.b.c.d gives a<<24 | b<<16 | c<<8 | d. Some firmware appends a
// build note after a blank ("2.0.0.3 build 17"); with ignoreSuffix only the text before the first blank
// counts. A text that does not convert, and an empty value, give 0: the oldest layout.
std::uint32_t FirmwareVersion(const ParamValue& value, bool ignoreSuffix = false);

constexpr std::uint32_t VersionNumber(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
    return (std::uint32_t{a} << 24) | (std::uint32_t{b} << 16) | (std::uint32_t{c} << 8) | d;
}

} // namespace olg
