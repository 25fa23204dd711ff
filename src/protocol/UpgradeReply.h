#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace olg {

// How a device asks to be upgraded, by its answer to an upgrade request.
enum class TransferMode {
    None = 0,
    TftpImage = 1,  // the image by TFTP, read back and compared
    FtpImage = 2,   // the image by FTP as "image.bin" or "rom.bin"
    FtpFileSet = 3, // the device's files deleted, then the files of an upload list stored by FTP
};

// The mode of a reply datagram, by its bytes 23 to 26 (00 03 FF FE, 00 03 FF FD, 00 04 FF FC); None for
// anything else, a datagram too short included.
TransferMode ReplyTransferMode(const std::uint8_t* data, std::size_t size);

// The remote name of an FTP image: "rom.bin" when the path holds it (any case, directories included), else
// "image.bin" when it holds that, else empty.
std::string FtpImageName(std::string_view path);

} // namespace olg
