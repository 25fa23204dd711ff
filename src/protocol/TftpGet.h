#pragma once

#include "TftpTransfer.h"

namespace olg {

// The decisions of a TFTP read. Each new block is stored once and acknowledged, a repeated one is
// acknowledged again, one beyond the next is left unacknowledged (the server sends the missing one again).
// Once the last block is stored the file is complete, and the transfer stays a moment to acknowledge a
// repeat of it, in case our acknowledgement was lost.
class TftpGet : public TftpTransfer {
public:
    // maxBytes < 0: no bound; else a file longer than that is refused to the server and fails the transfer.
    TftpGet(std::string_view fileName, std::int64_t maxBytes, int offeredBlockSize, std::uint32_t server,
            std::uint16_t serverPort, const TftpTiming& timing, std::int64_t nowMs);

    // The last block is stored: the file is whole, only a repeat of it is awaited until the end.
    bool Complete() const override { return complete_; }
    std::int64_t BytesStored() const { return stored_; }
    std::uint16_t AwaitedBlock() const override { return static_cast<std::uint16_t>(block_ + 1); }

private:
    Action Take(std::uint16_t opcode, const std::uint8_t* data, std::size_t size) override;
    Action Expire() override;
    std::int64_t NextWake() const override;
    Action Acknowledge(std::uint16_t number);

    std::int64_t maxBytes_;
    std::uint16_t block_ = 0; // the block stored last
    std::int64_t stored_ = 0;
    bool optionsTaken_ = false;
    bool complete_ = false;
    std::int64_t lingerUntil_ = 0;
};

} // namespace olg
