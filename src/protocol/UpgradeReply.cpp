#include "UpgradeReply.h"

#include <algorithm>
#include <cctype>

namespace olg {

namespace {

constexpr std::size_t ModeOffset = 23;

} // namespace

TransferMode ReplyTransferMode(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size < ModeOffset + 4 || data[ModeOffset] != 0 || data[ModeOffset + 2] != 0xFF)
        return TransferMode::None;
    const std::uint8_t command = data[ModeOffset + 1];
    const std::uint8_t code = data[ModeOffset + 3];
    if (command == 3 && code == 0xFE)
        return TransferMode::TftpImage;
    if (command == 3 && code == 0xFD)
        return TransferMode::FtpImage;
    if (command == 4 && code == 0xFC)
        return TransferMode::FtpFileSet;
    return TransferMode::None;
}

std::string FtpImageName(std::string_view path) {
    std::string lower(path);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower.find("rom.bin") != std::string::npos)
        return "rom.bin";
    if (lower.find("image.bin") != std::string::npos)
        return "image.bin";
    return {};
}

} // namespace olg
