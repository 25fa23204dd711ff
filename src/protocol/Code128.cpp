#include "Code128.h"

#include <array>

namespace olg {

namespace {

// Bar, space, bar, space, bar, space widths of every symbol value; the last one is Stop, with a final bar.
constexpr std::array<const char*, 107> Patterns{
    "212222", "222122", "222221", "121223", "121322", "131222", "122213",  "122312", "132212", "221213",
    "221312", "231212", "112232", "122132", "122231", "113222", "123122",  "123221", "223211", "221132",
    "221231", "213212", "223112", "312131", "311222", "321122", "321221",  "312212", "322112", "322211",
    "212123", "212321", "232121", "111323", "131123", "131321", "112313",  "132113", "132311", "211313",
    "231113", "231311", "112133", "112331", "132131", "113123", "113321",  "133121", "313121", "211331",
    "231131", "213113", "213311", "213131", "311123", "311321", "331121",  "312113", "312311", "332111",
    "314111", "221411", "431111", "111224", "111422", "121124", "121421",  "141122", "141221", "112214",
    "112412", "122114", "122411", "142112", "142211", "241211", "221114",  "413111", "241112", "134111",
    "111242", "121142", "121241", "114212", "124112", "124211", "411212",  "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311",  "411113", "411311", "113141",
    "114131", "311141", "411131", "211412", "211214", "211232", "2331112",
};

constexpr int CheckModulus = 103;

// Subset A: space to underscore as 0 to 63, then the control characters NUL to US as 64 to 95.
std::optional<int> SubsetAValue(char character) {
    const auto code = static_cast<unsigned char>(character);
    if (code >= 32 && code <= 95)
        return code - 32;
    if (code < 32)
        return code + 64;
    return std::nullopt;
}

} // namespace

std::optional<std::vector<int>> Code128::Encode(std::string_view text) {
    std::vector<int> values{StartA};
    int sum = StartA;
    int position = 1;
    for (const char character : text) {
        const std::optional<int> value = SubsetAValue(character);
        if (!value)
            return std::nullopt;
        values.push_back(*value);
        sum += *value * position++;
    }
    values.push_back(sum % CheckModulus);
    values.push_back(Stop);
    return values;
}

std::vector<std::uint8_t> Code128::ModuleWidths(const std::vector<int>& values) {
    std::vector<std::uint8_t> widths;
    for (const int value : values) {
        if (value < 0 || value > Stop)
            continue;
        for (const char* width = Patterns[static_cast<std::size_t>(value)]; *width; ++width)
            widths.push_back(static_cast<std::uint8_t>(*width - '0'));
    }
    return widths;
}

} // namespace olg
