#include "IpText.h"

#include <charconv>
#include <optional>

namespace olg {
namespace {

// An integer as the devices' earlier tools read it: optional sign, decimal digits, within 32 bits.
std::optional<std::int64_t> ParseInteger(std::string_view piece) {
    std::size_t start = 0;
    bool negative = false;
    if (!piece.empty() && (piece[0] == '+' || piece[0] == '-')) {
        negative = piece[0] == '-';
        start = 1;
    }
    if (start >= piece.size())
        return std::nullopt;
    std::int64_t value = 0;
    const char* first = piece.data() + start;
    const char* last = piece.data() + piece.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || value > 0x7FFFFFFFLL + (negative ? 1 : 0))
        return std::nullopt;
    return negative ? -value : value;
}

} // namespace

std::string IpToText(std::uint32_t address) {
    return std::to_string(address >> 24) + '.' + std::to_string((address >> 16) & 0xFF) + '.' +
           std::to_string((address >> 8) & 0xFF) + '.' + std::to_string(address & 0xFF);
}

std::uint32_t TextToIp(std::string_view text) {
    std::uint32_t result = 0;
    for (int octet = 0; octet < 4; ++octet) {
        std::string_view piece = text;
        if (octet < 3) {
            // Octets 1 to 3 end at the next "."; without one the piece is empty and not an integer.
            const std::size_t dot = text.find('.');
            piece = dot == std::string_view::npos ? std::string_view() : text.substr(0, dot);
            text = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
        }
        const auto value = ParseInteger(piece);
        if (!value)
            return 0;
        if (*value < 0 || *value > 255)
            return result;
        result |= static_cast<std::uint32_t>(*value) << (24 - 8 * octet);
    }
    return result;
}

} // namespace olg
