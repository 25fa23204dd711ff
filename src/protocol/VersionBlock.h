#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace olg {

// The version block every executable of the project carries: the section ".olg_version" of its ELF file,
// holding the marker, then key and value texts each ending in a NUL byte, then one more NUL.
class VersionBlock {
public:
    static constexpr std::string_view SectionName = ".olg_version";
    static constexpr std::string_view Marker = "OLG-VERSION-1";
    static constexpr std::string_view NotAvailable = "<info not available>";

    // The bytes of the named section of an ELF file (32 or 64 bit, either byte order); nothing when the
    // bytes are no ELF file, have no such section or the section lies outside them.
    static std::optional<std::span<const std::uint8_t>> FindSection(std::span<const std::uint8_t> file,
                                                                    std::string_view name);

    // The keys and values of a block; nothing without the marker.
    static std::optional<std::map<std::string, std::string>> Parse(std::span<const std::uint8_t> block);

    // Major, minor, release and build of a file version cut at ".", else at ","; the rest after the third
    // separator is the build. Nothing when the text has neither separator.
    static std::optional<std::array<std::string, 4>> SplitFileVersion(std::string_view version);
};

} // namespace olg
