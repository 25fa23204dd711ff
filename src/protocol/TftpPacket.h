#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace olg {

// The packets of the Trivial File Transfer Protocol with the block-size option, as bytes on the wire.
class TftpPacket {
public:
    enum Opcode : std::uint16_t {
        ReadRequest = 1,
        WriteRequest = 2,
        Data = 3,
        Ack = 4,
        Error = 5,
        OptionAck = 6,
    };
    // The error code of a packet from a port that is not the transfer's.
    static constexpr std::uint16_t UnknownTransferId = 5;
    static constexpr int DefaultBlockSize = 512;
    // The block sizes the option allows.
    static constexpr int MinBlockSize = 8;
    static constexpr int MaxBlockSize = 65464;
    static constexpr std::size_t MaxSize = 4 + MaxBlockSize;
    // The most of a server's error text a message shows, in characters.
    static constexpr std::size_t MaxErrorText = 200;

    using Bytes = std::vector<std::uint8_t>;

    // A read or write request in "octet" mode offering the block size as the option "blksize".
    static Bytes Request(Opcode opcode, std::string_view fileName, int blockSize);
    // An acknowledgement, or the four bytes before a data block.
    static Bytes Header(Opcode opcode, std::uint16_t number);
    static Bytes ErrorPacket(std::uint16_t code, std::string_view message);

    // 0 for a packet too short to hold it.
    static std::uint16_t OpcodeOf(const std::uint8_t* data, std::size_t size);
    // The block number of a data packet or acknowledgement, the code of an error packet.
    static std::uint16_t NumberOf(const std::uint8_t* data, std::size_t size);

    // The block size an option acknowledgement names, when it names one the option allows.
    static std::optional<int> AcknowledgedBlockSize(const std::uint8_t* data, std::size_t size);

    // The text of an error packet, up to its NUL, as UTF-8 for a message: control bytes escaped, cut to
    // MaxErrorText characters.
    static std::string ErrorText(const std::uint8_t* data, std::size_t size);
};

} // namespace olg
