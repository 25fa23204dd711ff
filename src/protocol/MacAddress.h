#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace olg {

// The six bytes of a 48-bit MAC, most significant first, as two upper-case hex digits each, joined by
// separator.
std::string FormatMac(std::string_view separator, std::uint64_t mac);

// Twelve hex digits, optionally grouped in pairs by "-", ":" or "." (one kind of separator), any case.
std::optional<std::uint64_t> ParseMac(std::string_view text);

} // namespace olg
