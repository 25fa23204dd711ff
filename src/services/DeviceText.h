#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace olg {

// Device texts between their Windows-1252 bytes, kept raw in the records, and the QStrings shown and edited.
// Both directions are lossless, so a byte comes back from the widget exactly as it went in.
class DeviceText {
public:
    static QString Decode(std::string_view bytes);
    // Nothing when the text holds a character the devices' code page cannot carry.
    static std::optional<std::string> Encode(const QString& text);
};

} // namespace olg
