#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace olg {

// Code 128 forced into character subset A: upper-case letters, digits, punctuation and control characters,
// which is all a MAC label holds. Lower-case letters have no place in subset A.
class Code128 {
public:
    static constexpr int StartA = 103;
    static constexpr int Stop = 106;
    // Modules of one symbol character; the stop pattern has two more.
    static constexpr int CharacterModules = 11;
    static constexpr int StopModules = 13;
    // Blank modules a reader wants on either side of the symbol.
    static constexpr int QuietZoneModules = 10;

    // The symbol values: Start A, one value per character, the check character and Stop. Nothing when a
    // character of the text is outside subset A.
    static std::optional<std::vector<int>> Encode(std::string_view text);

    // The widths in modules of the alternating bars and spaces of those values, starting with a bar.
    static std::vector<std::uint8_t> ModuleWidths(const std::vector<int>& values);
};

} // namespace olg
