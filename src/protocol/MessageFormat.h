#pragma once

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>

namespace olg {

// Puts the arguments, in order, in place of the %s and %d placeholders; "%%" gives "%".
// A placeholder without an argument is left out.
std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> arguments);

// The program's own error messages, by index.
enum ErrorMessage {
    ErrorDeviceNotResponding = 0,
    ErrorFileNotFound = 1,
    ErrorTransfer = 2,
    ErrorVerify = 3,
    ErrorConfigNotCompatible = 4,
    ErrorConnection = 5,
    ErrorLoginsMustDiffer = 6,
    ErrorBadUpgradeFileName = 7,
};

inline constexpr std::array<std::string_view, 8> ErrorMessages{
    "Device not responding",
    "File %s not found!",
    "Transfert Error: %s",
    "Verify Error",
    "Config file not compatible with destination device",
    "Connection Error: %s",
    "%s : Logins must be different!",
    "File must be xx.image.bin or xx.rom.bin",
};

// The message of that index with the argument in place of %s.
std::string FormatErrorMessage(ErrorMessage index, std::string_view argument = {});

} // namespace olg
