#include "TftpPut.h"

#include <algorithm>

namespace olg {

TftpPut::TftpPut(std::string_view fileName, std::int64_t fileSize, int offeredBlockSize, std::uint32_t server,
                 std::uint16_t serverPort, const TftpTiming& timing, std::int64_t nowMs)
    : TftpTransfer(TftpPacket::WriteRequest, fileName, offeredBlockSize, server, serverPort, timing,
                   std::max<std::int64_t>(fileSize, 0), nowMs) {}

std::uint8_t* TftpPut::BlockSpace() {
    data_.resize(4 + static_cast<std::size_t>(blockSize_));
    return data_.data() + 4;
}

void TftpPut::BlockRead(std::size_t size) {
    block_ = static_cast<std::uint16_t>(block_ + 1);
    size = std::min(size, static_cast<std::size_t>(blockSize_));
    data_.resize(4 + size);
    const TftpPacket::Bytes header = TftpPacket::Header(TftpPacket::Data, block_);
    std::copy(header.begin(), header.end(), data_.begin());
    built_ = true;
    last_ = size < static_cast<std::size_t>(blockSize_);
    sent_ += static_cast<std::int64_t>(size);
    resendAt_ = now_ + std::max(1, timing_.ResendMs);
    SendToPeer(data_);
}

TftpTransfer::Action TftpPut::Take(std::uint16_t opcode, const std::uint8_t* data, std::size_t size) {
    if (opcode == TftpPacket::Error)
        return FailFromPacket(data, size);
    const std::uint16_t number = TftpPacket::NumberOf(data, size);
    if (!built_) {
        // The answer to the request: the options taken, or a plain acknowledgement of block 0.
        if (opcode == TftpPacket::OptionAck)
            blockSize_ = TftpPacket::AcknowledgedBlockSize(data, size).value_or(TftpPacket::DefaultBlockSize);
        else if (opcode != TftpPacket::Ack || number != 0)
            return Action::Wait;
        Progress();
        return Action::Fill;
    }
    if (opcode != TftpPacket::Ack || number != block_)
        return Action::Wait;
    Progress();
    if (last_)
        return Finish(State::Done);
    return Action::Fill;
}

TftpTransfer::Action TftpPut::Expire() {
    if (TimedOut() || TooSlow())
        return last_ ? Finish(State::Done) : TftpTransfer::Expire();
    if (built_ && now_ >= resendAt_) {
        resendAt_ = now_ + std::max(1, timing_.ResendMs);
        return SendToPeer(data_);
    }
    return Action::Wait;
}

std::int64_t TftpPut::NextWake() const {
    const std::int64_t wake = TftpTransfer::NextWake();
    return built_ ? std::min(wake, resendAt_) : wake;
}

} // namespace olg
