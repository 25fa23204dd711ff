#include "MacAddress.h"

namespace olg {

std::string FormatMac(std::string_view separator, std::uint64_t mac) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string text;
    for (int i = 5; i >= 0; --i) {
        const auto byte = static_cast<unsigned>((mac >> (8 * i)) & 0xFF);
        text += Hex[byte >> 4];
        text += Hex[byte & 0xF];
        if (i > 0)
            text += separator;
    }
    return text;
}

std::optional<std::uint64_t> ParseMac(std::string_view text) {
    char separator = 0;
    if (text.size() == 17) {
        separator = text[2];
        if (separator != '-' && separator != ':' && separator != '.')
            return std::nullopt;
    } else if (text.size() != 12) {
        return std::nullopt;
    }
    std::uint64_t mac = 0;
    int digits = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (separator && i % 3 == 2) {
            if (c != separator)
                return std::nullopt;
            continue;
        }
        int value = -1;
        if (c >= '0' && c <= '9')
            value = c - '0';
        else if (c >= 'a' && c <= 'f')
            value = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            value = c - 'A' + 10;
        if (value < 0)
            return std::nullopt;
        mac = (mac << 4) | static_cast<std::uint64_t>(value);
        ++digits;
    }
    return digits == 12 ? std::optional<std::uint64_t>(mac) : std::nullopt;
}

} // namespace olg
