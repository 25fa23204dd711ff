#include "TftpGet.h"

#include <algorithm>

namespace olg {

TftpGet::TftpGet(std::string_view fileName, std::int64_t maxBytes, int offeredBlockSize, std::uint32_t server,
                 std::uint16_t serverPort, const TftpTiming& timing, std::int64_t nowMs)
    : TftpTransfer(TftpPacket::ReadRequest, fileName, offeredBlockSize, server, serverPort, timing, maxBytes,
                   nowMs),
      maxBytes_(maxBytes) {}

TftpTransfer::Action TftpGet::Acknowledge(std::uint16_t number) {
    control_ = TftpPacket::Header(TftpPacket::Ack, number);
    return SendToPeer(control_);
}

TftpTransfer::Action TftpGet::Take(std::uint16_t opcode, const std::uint8_t* data, std::size_t size) {
    const std::uint16_t number = TftpPacket::NumberOf(data, size);
    if (complete_)
        return opcode == TftpPacket::Data && number == block_ ? Acknowledge(number) : Action::Wait;
    switch (opcode) {
    case TftpPacket::Data: {
        if (number != static_cast<std::uint16_t>(block_ + 1)) {
            // An older block (numbers wrap) is acknowledged again; one beyond the next would leave a hole.
            const bool older = static_cast<std::uint16_t>(block_ - number) < 0x8000;
            return older ? Acknowledge(number) : Action::Wait;
        }
        const auto length = static_cast<std::int64_t>(size - 4);
        if (maxBytes_ >= 0 && stored_ + length > maxBytes_) {
            control_ = TftpPacket::ErrorPacket(static_cast<std::uint16_t>(TftpErrorKind::AllocationExceeded),
                                               "File longer than expected");
            SendToPeer(control_);
            Finish(State::Failed, TftpErrorKind::TooLong);
            return Action::Send;
        }
        block_ = number;
        stored_ += length;
        Progress();
        if (length < blockSize_) {
            complete_ = true;
            lingerUntil_ = now_ + std::clamp(timing_.LastBlockWaitMs, 0, timing_.TimeoutMs);
        }
        Acknowledge(number);
        return Action::Store;
    }
    case TftpPacket::OptionAck:
        if (block_ != 0)
            return Action::Wait;
        // A repeat (our acknowledgement was lost) is acknowledged again, but is no progress.
        if (!optionsTaken_) {
            blockSize_ = TftpPacket::AcknowledgedBlockSize(data, size).value_or(TftpPacket::DefaultBlockSize);
            optionsTaken_ = true;
            Progress();
        }
        return Acknowledge(0);
    case TftpPacket::Error:
        return FailFromPacket(data, size);
    default:
        return Finish(State::Failed, TftpErrorKind::UnexpectedOperation);
    }
}

TftpTransfer::Action TftpGet::Expire() {
    if (!complete_)
        return TftpTransfer::Expire();
    if (now_ >= lingerUntil_)
        return Finish(State::Done);
    return Action::Wait;
}

std::int64_t TftpGet::NextWake() const {
    return complete_ ? lingerUntil_ : TftpTransfer::NextWake();
}

} // namespace olg
