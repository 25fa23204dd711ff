#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace olg {

// a.b.c.d from the number whose bits 31-24 hold a; 0 gives 0.0.0.0.
std::string IpToText(std::uint32_t address);

// The lenient conversion used wherever a parameter meets text: never fails. The octets before the first one
// out of 0..255 are kept; any piece that is not an integer (empty, letters, a missing ".") gives 0.
std::uint32_t TextToIp(std::string_view text);

} // namespace olg
