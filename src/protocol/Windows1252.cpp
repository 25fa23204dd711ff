#include "Windows1252.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace olg {
namespace {

// Code points of the bytes 0x80-0x9F; the undefined ones stand for themselves.
constexpr std::array<char16_t, 32> HighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::optional<char> ByteFor(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return static_cast<char>(code);
    for (std::size_t i = 0; i < HighControls.size(); ++i)
        if (HighControls[i] == code)
            return static_cast<char>(0x80 + i);
    return std::nullopt;
}

// Nothing on the first fault, or with lossy a "?" for each, as the system conversion gives them: one for a
// cut sequence, one per byte of an overlong one, two for a character beyond 16 bits.
std::optional<std::string> Decode(std::string_view utf8, bool lossy) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<std::uint8_t>(utf8[i]);
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x6  ? 2
                                   : (lead >> 4) == 0xE  ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 0;
        // The bytes of the sequence that are there, and its character.
        std::size_t valid = length == 0 ? 0 : 1;
        char32_t code = length <= 1 ? lead : lead & (0x7F >> length);
        while (valid < length && i + valid < utf8.size() &&
               (static_cast<std::uint8_t>(utf8[i + valid]) & 0xC0) == 0x80)
            code = (code << 6) | (static_cast<std::uint8_t>(utf8[i + valid++]) & 0x3F);
        // An overlong form is not UTF-8: it would let "C0 80" smuggle in a NUL, for example.
        constexpr char32_t Shortest[] = {0, 0, 0x80, 0x800, 0x10000};
        const bool whole = length != 0 && valid == length;
        const bool overlong = whole && code < Shortest[length];
        const auto byte = whole && !overlong ? ByteFor(code) : std::nullopt;
        if (!byte && !lossy)
            return std::nullopt;
        out += byte ? std::string(1, *byte) : whole && !overlong && code >= 0x10000 ? "??" : "?";
        i += overlong ? 1 : std::max<std::size_t>(valid, 1);
    }
    return out;
}

} // namespace

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<std::uint8_t>(c);
        AppendUtf8(out, byte >= 0x80 && byte < 0xA0 ? HighControls[byte - 0x80] : byte);
    }
    return out;
}

std::optional<std::string> Utf8ToWindows1252(std::string_view utf8) {
    return Decode(utf8, false);
}

std::string Utf8ToWindows1252Lossy(std::string_view utf8) {
    return *Decode(utf8, true);
}

std::string Windows1252ToPrintable(std::string_view bytes, std::size_t maxChars) {
    const auto blank = [](char c) { return static_cast<std::uint8_t>(c) <= 0x20 || c == 0x7F; };
    while (!bytes.empty() && blank(bytes.front()))
        bytes.remove_prefix(1);
    while (!bytes.empty() && blank(bytes.back()))
        bytes.remove_suffix(1);
    std::string out;
    std::size_t chars = 0;
    for (const char c : bytes) {
        if (chars == maxChars) {
            out += "...";
            break;
        }
        const auto byte = static_cast<std::uint8_t>(c);
        if (byte < 0x20 || byte == 0x7F) {
            constexpr char Hex[] = "0123456789ABCDEF";
            // Counted as one character, so that a text of escapes is not cut shorter than another.
            out += "\\x";
            out += Hex[byte >> 4];
            out += Hex[byte & 0xF];
        } else {
            AppendUtf8(out, byte >= 0x80 && byte < 0xA0 ? HighControls[byte - 0x80] : byte);
        }
        ++chars;
    }
    return out;
}

} // namespace olg
