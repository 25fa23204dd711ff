#pragma once

#include "TftpTransfer.h"

namespace olg {

// The decisions of a TFTP write of a file of known size. A block goes again only when its acknowledgement
// is overdue, never because an older acknowledgement came again (which would double every packet from then
// on), and an acknowledgement of a block not sent yet is ignored. A last block that is never acknowledged
// counts as taken once the wait for it ends.
class TftpPut : public TftpTransfer {
public:
    TftpPut(std::string_view fileName, std::int64_t fileSize, int offeredBlockSize, std::uint32_t server,
            std::uint16_t serverPort, const TftpTiming& timing, std::int64_t nowMs);

    // After Fill: room for BlockSize() bytes, then how many were read; a block shorter than BlockSize() is
    // the last one. Outgoing() is then the block.
    std::uint8_t* BlockSpace();
    void BlockRead(std::size_t size);

    std::uint16_t AwaitedBlock() const override { return block_; }
    std::int64_t BytesSent() const { return sent_; }

private:
    Action Take(std::uint16_t opcode, const std::uint8_t* data, std::size_t size) override;
    Action Expire() override;
    std::int64_t NextWake() const override;

    TftpPacket::Bytes data_;
    std::uint16_t block_ = 0; // the block sent last
    bool built_ = false;
    bool last_ = false;
    std::int64_t sent_ = 0;
    std::int64_t resendAt_ = 0;
};

} // namespace olg
