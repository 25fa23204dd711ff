#pragma once

#include "TftpPacket.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace olg {

// How long a TFTP transfer waits, and so how long a misbehaving server can hold it.
struct TftpTiming {
    // The longest wait without progress: the current block acknowledged (put) or a new block (get).
    int TimeoutMs = 4000;
    // A put sends its current block again after this long without its acknowledgement, never sooner.
    int ResendMs = 1000;
    // How long a finished get stays to acknowledge a repeated last block (at most TimeoutMs).
    int LastBlockWaitMs = 500;
    // A transfer of a known size may take TimeoutMs plus this much per 512 bytes, in all.
    int MsPerBlock = 50;
};

// What ended a TFTP transfer. A server's error codes 0..8 are the kinds of the same value.
enum class TftpErrorKind {
    None = -1,
    Generic = 0,
    FileNotFound = 1,
    AccessViolation = 2,
    AllocationExceeded = 3,
    IllegalOperation = 4,
    UnknownTransferId = 5,
    FileAlreadyExists = 6,
    NoSuchUser = 7,
    OptionNegotiationFailed = 8,
    Timeout = 100, // no progress within TimeoutMs
    TooSlow,       // the whole transfer took longer than its size allows
    TooLong,       // a get brought more than it may
    UnexpectedOperation,
    LocalFile,
    Network,
};

// The decisions of one TFTP transfer, without any I/O: the caller sends the request (Outgoing() to the
// server), then hands in every packet that arrives and every time-out, and does what each step says. After
// the first answer the server's port is the transfer's identity: a packet from any other source is refused
// with "Unknown transfer ID" and changes nothing. Times are milliseconds of a steady clock.
class TftpTransfer {
public:
    enum class Action {
        Wait,  // nothing to do until the next packet or WakeAt()
        Send,  // send Outgoing() to DestinationAddress():DestinationPort()
        Fill,  // put: read the next block into the put's BlockSpace(), report it with BlockRead, send it
        Store, // get: write the data of the packet (its bytes after the fourth), then send Outgoing()
    };
    enum class State { Running, Done, Failed };

    virtual ~TftpTransfer() = default;
    TftpTransfer(const TftpTransfer&) = delete;
    TftpTransfer& operator=(const TftpTransfer&) = delete;

    Action OnPacket(const std::uint8_t* data, std::size_t size, std::uint32_t address, std::uint16_t port,
                    std::int64_t nowMs);
    // Called once nowMs has reached WakeAt() without a packet.
    Action OnTimeout(std::int64_t nowMs);
    std::int64_t WakeAt() const;

    const TftpPacket::Bytes& Outgoing() const { return *outgoing_; }
    std::uint32_t DestinationAddress() const { return destinationAddress_; }
    std::uint16_t DestinationPort() const { return destinationPort_; }

    State Result() const { return state_; }
    TftpErrorKind Error() const { return error_; }
    // The text of the server's error packet, made printable.
    const std::string& ServerText() const { return serverText_; }
    int BlockSize() const { return blockSize_; }
    // True once the server has answered from the port that is now the transfer's.
    bool Answered() const { return answered_; }
    // The port the server answers from, once it has.
    std::uint16_t PeerPort() const { return peerPort_; }
    // The operation of the latest packet of the server.
    std::uint16_t LastOpcode() const { return lastOpcode_; }
    // The block the transfer waits for: its acknowledgement (put) or the block itself (get).
    virtual std::uint16_t AwaitedBlock() const = 0;
    // The server has the whole file (put) or we have it (get); a get may still wait for a repeated last
    // block, but the caller can go on.
    virtual bool Complete() const { return state_ == State::Done; }

protected:
    // expectedBytes < 0: no bound on the whole transfer, only on each wait.
    TftpTransfer(TftpPacket::Opcode request, std::string_view fileName, int offeredBlockSize,
                 std::uint32_t server, std::uint16_t serverPort, const TftpTiming& timing,
                 std::int64_t expectedBytes, std::int64_t nowMs);

    // A packet of the transfer's own peer, while it runs.
    virtual Action Take(std::uint16_t opcode, const std::uint8_t* data, std::size_t size) = 0;
    // A time-out while it runs; the defaults end the transfer when the wait without progress or the whole
    // transfer took too long.
    virtual Action Expire();
    virtual std::int64_t NextWake() const;

    Action SendToPeer(const TftpPacket::Bytes& packet);
    Action Finish(State state, TftpErrorKind error = TftpErrorKind::None);
    Action FailFromPacket(const std::uint8_t* data, std::size_t size);
    void Progress() { progressDeadline_ = now_ + timing_.TimeoutMs; }
    bool TimedOut() const { return now_ >= progressDeadline_; }
    bool TooSlow() const { return now_ >= totalDeadline_; }

    TftpTiming timing_;
    std::int64_t now_;
    int blockSize_ = TftpPacket::DefaultBlockSize;
    TftpPacket::Bytes control_;

private:
    std::uint32_t server_;
    std::uint16_t peerPort_;
    bool answered_ = false;
    std::uint16_t lastOpcode_ = 0;
    std::int64_t progressDeadline_;
    std::int64_t totalDeadline_;
    TftpPacket::Bytes refusal_;
    const TftpPacket::Bytes* outgoing_ = &control_;
    std::uint32_t destinationAddress_;
    std::uint16_t destinationPort_;
    State state_ = State::Running;
    TftpErrorKind error_ = TftpErrorKind::None;
    std::string serverText_;
};

} // namespace olg
