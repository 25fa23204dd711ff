#include "TftpTransfer.h"

#include <algorithm>
#include <limits>

namespace olg {

namespace {

constexpr std::int64_t Never = std::numeric_limits<std::int64_t>::max();

} // namespace

TftpTransfer::TftpTransfer(TftpPacket::Opcode request, std::string_view fileName, int offeredBlockSize,
                           std::uint32_t server, std::uint16_t serverPort, const TftpTiming& timing,
                           std::int64_t expectedBytes, std::int64_t nowMs)
    : timing_(timing), now_(nowMs), control_(TftpPacket::Request(request, fileName, offeredBlockSize)),
      server_(server), peerPort_(serverPort), progressDeadline_(nowMs + timing.TimeoutMs),
      refusal_(TftpPacket::ErrorPacket(TftpPacket::UnknownTransferId, "Unknown transfer ID")),
      destinationAddress_(server), destinationPort_(serverPort) {
    // Counted in blocks of the smallest usual size, so a server that refuses the option is not hurried.
    const std::int64_t blocks = expectedBytes / TftpPacket::DefaultBlockSize + 1;
    totalDeadline_ = expectedBytes < 0 ? Never : nowMs + timing.TimeoutMs + blocks * timing.MsPerBlock;
}

TftpTransfer::Action TftpTransfer::OnPacket(const std::uint8_t* data, std::size_t size, std::uint32_t address,
                                            std::uint16_t port, std::int64_t nowMs) {
    now_ = nowMs;
    if (state_ != State::Running)
        return Action::Wait;
    // A time that is up counts first, so that packets that never stop coming cannot hold the transfer.
    if (now_ >= NextWake()) {
        const Action expired = Expire();
        if (state_ != State::Running || expired != Action::Wait)
            return expired;
    }
    // After the first answer only its source is the transfer's peer (its transfer identity).
    if (answered_ && (address != server_ || port != peerPort_)) {
        outgoing_ = &refusal_;
        destinationAddress_ = address;
        destinationPort_ = port;
        return Action::Send;
    }
    // No packet of a server is shorter than four bytes; before the first answer, another host's packet cannot
    // be told from noise either.
    if (data == nullptr || size < 4 || address != server_)
        return Action::Wait;
    answered_ = true;
    peerPort_ = port;
    lastOpcode_ = TftpPacket::OpcodeOf(data, size);
    return Take(lastOpcode_, data, size);
}

TftpTransfer::Action TftpTransfer::OnTimeout(std::int64_t nowMs) {
    now_ = nowMs;
    return state_ == State::Running ? Expire() : Action::Wait;
}

std::int64_t TftpTransfer::WakeAt() const {
    return state_ == State::Running ? NextWake() : now_;
}

TftpTransfer::Action TftpTransfer::Expire() {
    if (TooSlow())
        return Finish(State::Failed, TftpErrorKind::TooSlow);
    if (TimedOut())
        return Finish(State::Failed, TftpErrorKind::Timeout);
    return Action::Wait;
}

std::int64_t TftpTransfer::NextWake() const {
    return std::min(progressDeadline_, totalDeadline_);
}

TftpTransfer::Action TftpTransfer::SendToPeer(const TftpPacket::Bytes& packet) {
    outgoing_ = &packet;
    destinationAddress_ = server_;
    destinationPort_ = peerPort_;
    return Action::Send;
}

TftpTransfer::Action TftpTransfer::Finish(State state, TftpErrorKind error) {
    state_ = state;
    error_ = error;
    return Action::Wait;
}

TftpTransfer::Action TftpTransfer::FailFromPacket(const std::uint8_t* data, std::size_t size) {
    const std::uint16_t code = TftpPacket::NumberOf(data, size);
    serverText_ = TftpPacket::ErrorText(data, size);
    return Finish(State::Failed, code <= 8 ? static_cast<TftpErrorKind>(code) : TftpErrorKind::Generic);
}

} // namespace olg
