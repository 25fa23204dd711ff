#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace olg {

// Device texts are bytes in Windows-1252. These conversions are lossless for every byte: the five bytes the
// code page leaves undefined map to the C1 control characters of the same value, as the system conversions
// do.

// UTF-8 text for display.
std::string Windows1252ToUtf8(std::string_view bytes);

// Device bytes from UTF-8 text, or nothing when the text holds a character the code page cannot carry or is
// not valid UTF-8.
std::optional<std::string> Utf8ToWindows1252(std::string_view utf8);
// The same with "?" for each character the code page cannot carry and each broken sequence, as the system
// conversions give.
std::string Utf8ToWindows1252Lossy(std::string_view utf8);

// UTF-8 text for a message from bytes a peer sent: blanks and control bytes at both ends go, the control
// bytes inside are shown as \xNN, and a text longer than maxChars characters is cut, ending in "...".
std::string Windows1252ToPrintable(std::string_view bytes, std::size_t maxChars);

} // namespace olg
